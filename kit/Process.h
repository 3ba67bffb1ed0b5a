// Programs that a test starts and ends: the program under test, copies of
// a helper, or the process behind a window. A started process is always
// ended and waited for when its owner goes, so that no test leaves one
// running into the next; its output can be read line by line through a
// pipe.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace support {

// A kernel handle, closed on destruction.
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return handle_; }
    void Reset(HANDLE handle = nullptr);

private:
    HANDLE handle_ = nullptr;
};

// A program of this name in the folder of the running program.
std::filesystem::path BesideThisProgram(const wchar_t* name);

// How a started program's standard output is handled.
enum class Output { Inherited, Piped };

// A started program. One that is still running when its owner goes is
// terminated, and waited for.
class ChildProcess {
public:
    // Starts program with arguments (after its quoted path) in folder, or
    // in the current folder when folder is empty. A bare name is looked for
    // on the search path.
    ChildProcess(const std::filesystem::path& program, const std::wstring& arguments,
                 const std::filesystem::path& folder = {}, Output output = Output::Inherited);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_.Get() != nullptr; }
    const std::string& StartError() const { return startError_; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.Get(); }
    bool Running() const;
    // Waits, processing messages, for the program to end; true with its
    // exit code if it did within the time.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    // Ends the program at once and waits for it.
    void Terminate(DWORD exitCode);
    // With Output::Piped: the next line the program wrote, without its line
    // end; empty once it wrote no more.
    std::string ReadLine();

private:
    OwnedHandle process_;
    OwnedHandle output_;
    DWORD id_ = 0;
    std::string startError_;
    std::string buffer_;
};

// Posts WM_CLOSE to the window and waits for its process to end.
bool CloseAndWait(HWND window, DWORD timeoutMs);

} // namespace support
