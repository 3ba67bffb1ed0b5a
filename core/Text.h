// Text rules shared by the program: message formatting and the error box.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

using TFormatArg = std::variant<std::string, int64_t>;

// Fills %s with a text and %d with a number, in order; %% is a percent sign.
// A placeholder without an argument of its kind stays as it is.
std::string FormatText(const std::string& format, const std::vector<TFormatArg>& args);

// The text of the standard error box: the message, with a "." appended when
// its last character sorts after ".".
std::string ErrorBoxText(const std::string& message);
