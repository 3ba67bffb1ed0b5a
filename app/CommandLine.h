// The command line: "-hide" starts without the window; "-hide" "-notray"
// also without the notification-area icon.
#pragma once

#include <string>
#include <vector>

struct TStartOptions {
    bool hide = false;
    bool noTray = false;
};

// params are the parameters after the program's name. Both switches are
// case-sensitive whole words, and only in these positions.
TStartOptions ParseCommandLine(const std::vector<std::string>& params);
