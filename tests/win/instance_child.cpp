// A copy of a program with a single-instance guard, started by
// instance_control_test. Arguments:
//   --max N          MaxInstances (default 1)
//   --disabled       Enabled false
//   --wait EVENT     report "ready", then wait for the named event before the check
//   --minimize       minimise the application window after the check
//   --stay EVENT     after the check, run until the named event is set
// After the check it writes one line:
//   own=<app window> counted=<0|1> event=<handle given to OnMaxInstancesReached>
//   calls=<times raised> showmain=<ShowMainForm> visible=<app window visible>
// A refused copy then runs the message loop, which must end by itself.
// Exit code 0, or 3 after an error (reported as "error <message>").
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/Application.h"
#include "kit/Pump.h"
#include "shell/adpInstanceControl.h"

namespace {

void Report(const char* line)
{
    std::fputs(line, stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

HANDLE OpenNamedEvent(const std::string& name)
{
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
    if (!event) {
        Report("error cannot open event");
        std::exit(3);
    }
    return event;
}

} // namespace

int main(int argc, char** argv)
{
    uint32_t maxInstances = 1;
    bool disabled = false;
    bool minimize = false;
    std::string waitEvent;
    std::string stayEvent;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--max" && i + 1 < argc)
            maxInstances = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--disabled")
            disabled = true;
        else if (arg == "--minimize")
            minimize = true;
        else if (arg == "--wait" && i + 1 < argc)
            waitEvent = argv[++i];
        else if (arg == "--stay" && i + 1 < argc)
            stayEvent = argv[++i];
    }

    Application.Initialize(GetModuleHandleW(nullptr));
    Application.SetTitle("instance_child");
    try {
        TadpInstanceControl guard;
        guard.SetEnabled(!disabled);
        guard.SetMaxInstances(maxInstances);
        uint32_t eventHandle = 0;
        int calls = 0;
        guard.OnMaxInstancesReached = [&](TadpInstanceControl& sender, uint32_t handle) {
            if (&sender == &guard)
                ++calls;
            eventHandle = handle;
        };

        if (!waitEvent.empty()) {
            HANDLE start = OpenNamedEvent(waitEvent);
            Report("ready");
            WaitForSingleObject(start, INFINITE);
            CloseHandle(start);
        }

        guard.Loaded();
        if (minimize && !guard.Refused())
            ShowWindow(Application.Handle(), SW_MINIMIZE);

        char line[256];
        std::snprintf(line, sizeof line, "own=%lu counted=%d event=%lu calls=%d showmain=%d visible=%d",
                      static_cast<unsigned long>(reinterpret_cast<uintptr_t>(Application.Handle())),
                      guard.Refused() ? 0 : 1, static_cast<unsigned long>(eventHandle), calls,
                      Application.ShowMainForm() ? 1 : 0, IsWindowVisible(Application.Handle()) ? 1 : 0);
        Report(line);

        if (guard.Refused())
            Application.Run(); // ends with the quit message the refusal posted
        if (!stayEvent.empty()) {
            HANDLE quit = OpenNamedEvent(stayEvent);
            support::PumpUntilSignalled(quit);
            CloseHandle(quit);
        }
    } catch (const std::exception& error) {
        std::string line = std::string("error ") + error.what();
        Report(line.c_str());
        return 3;
    }
    return 0;
}
