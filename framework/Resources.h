// Texts of the program's string table.
#pragma once

#include <string>

// The string with this number from the program's resources, as UTF-8.
std::string LoadStr(unsigned id);
