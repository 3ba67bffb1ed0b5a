#include "kit/Process.h"

#include <utility>

#include "kit/Pump.h"

namespace support {

namespace fs = std::filesystem;

void OwnedHandle::Reset(HANDLE handle)
{
    if (handle_)
        CloseHandle(handle_);
    handle_ = handle;
}

namespace {

// For messages: the path with anything but ASCII as '?'.
std::string Printable(const fs::path& path)
{
    std::string text;
    for (wchar_t c : path.wstring())
        text += c < 0x80 ? static_cast<char>(c) : '?';
    return text;
}

} // namespace

fs::path BesideThisProgram(const wchar_t* name)
{
    wchar_t self[MAX_PATH * 2] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    return fs::path(self).parent_path() / name;
}

ChildProcess::ChildProcess(const fs::path& program, const std::wstring& arguments, const fs::path& folder,
                           Output output)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    OwnedHandle write;
    if (output == Output::Piped) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr, written = nullptr;
        if (CreatePipe(&read, &written, &inherit, 0)) {
            output_.Reset(read);
            write.Reset(written);
            SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        }
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = write.Get();
    }
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    const bool piped = output == Output::Piped;
    PROCESS_INFORMATION info{};
    // A bare name is looked for on the search path.
    const wchar_t* application = program.has_parent_path() ? program.c_str() : nullptr;
    if (!CreateProcessW(application, commandLine.data(), nullptr, nullptr, piped, piped ? CREATE_NO_WINDOW : 0,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        startError_ = "cannot start " + Printable(program) + ": error " + std::to_string(GetLastError());
        return;
    }
    process_.Reset(info.hProcess);
    CloseHandle(info.hThread);
    id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess()
{
    if (Running())
        Terminate(0xDEAD);
}

bool ChildProcess::Running() const
{
    return Started() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode) const
{
    if (!Started() || !PumpUntilSignalled(process_.Get(), timeoutMs))
        return false;
    return GetExitCodeProcess(process_.Get(), &exitCode) != 0;
}

void ChildProcess::Terminate(DWORD exitCode)
{
    TerminateProcess(process_.Get(), exitCode);
    WaitForSingleObject(process_.Get(), 10000);
}

std::string ChildProcess::ReadLine()
{
    for (;;) {
        const size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        char chunk[256];
        DWORD got = 0;
        if (!output_.Get() || !ReadFile(output_.Get(), chunk, sizeof chunk, &got, nullptr) || got == 0)
            return std::exchange(buffer_, {});
        buffer_.append(chunk, got);
    }
}

bool CloseAndWait(HWND window, DWORD timeoutMs)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    OwnedHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    PostMessageW(window, WM_CLOSE, 0, 0);
    return process.Get() && PumpUntilSignalled(process.Get(), timeoutMs);
}

} // namespace support
