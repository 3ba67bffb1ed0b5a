// File system queries of the program, with UTF-8 paths.
#pragma once

#include <string>

// The process's current directory: no trailing separator except at a drive
// root.
std::string CurrentDirectory();
