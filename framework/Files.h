// File system queries of the program, with UTF-8 paths.
#pragma once

#include <string>

// The process's current directory: no trailing separator except at a drive
// root.
std::string CurrentDirectory();

// The images folder of a start without stored settings: the current
// directory, unless it lies in the Windows folder (where the sign-in entry
// starts programs) or cannot be written to; then the user's Pictures folder.
std::string FirstStartFolder();
