#include "app/CommandLine.h"

TStartOptions ParseCommandLine(const std::vector<std::string>& params)
{
    TStartOptions options;
    if (!params.empty() && params[0] == "-hide") {
        options.hide = true;
        options.noTray = params.size() > 1 && params[1] == "-notray";
    }
    return options;
}
