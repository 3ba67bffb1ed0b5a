#include "shell/adpInstanceControl.h"

#include <vector>

#include "framework/Application.h"
#include "core/Unicode.h"

TadpInstanceControl* TadpInstanceControl::registered_ = nullptr;

EOSError EOSError::FromLastError()
{
    DWORD code = GetLastError();
    return EOSError(code, OSErrorMessage(code, code ? SysErrorMessage(code) : std::string()));
}

namespace {

// The full path of this process's executable.
std::wstring ExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            throw EOSError::FromLastError();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

uint32_t HandleValue(HWND window)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
}

HWND WindowFromValue(uint32_t value)
{
    return reinterpret_cast<HWND>(HandleFromValue(value));
}

// Holds the named mutex of the shared record for one check or release.
class TRecordLock {
public:
    explicit TRecordLock(HANDLE mutex) : mutex_(mutex)
    {
        // WAIT_ABANDONED: a copy ended while holding it; the lock is ours now.
        DWORD result = WaitForSingleObject(mutex_, INFINITE);
        if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED)
            throw EOSError::FromLastError();
    }
    ~TRecordLock() { ReleaseMutex(mutex_); }
    TRecordLock(const TRecordLock&) = delete;
    TRecordLock& operator=(const TRecordLock&) = delete;

private:
    HANDLE mutex_;
};

} // namespace

TadpInstanceControl::TadpInstanceControl()
{
    if (registered_)
        throw EInstanceControl("Only one copy of this component can be dropped on a form!");
    registered_ = this;
}

TadpInstanceControl::~TadpInstanceControl()
{
    if (registered_ == this)
        registered_ = nullptr;
    // Only a count this copy took is given back, whatever Enabled says now.
    if (tookCount_ && lock_ && view_) {
        try {
            TRecordLock lock(lock_.get());
            ReleaseInstance(*view_);
        } catch (const EOSError&) {
            // The lock cannot be had: the count stays as it is.
        }
    }
}

void TadpInstanceControl::Loaded()
{
    if (!enabled_ || loaded_)
        return;
    loaded_ = true;

    mappingName_ = MappingName(WideToUtf8(ExecutablePath()));
    // Names of kernel objects may not contain a backslash; this one has none.
    std::wstring name = Utf8ToWide(mappingName_);

    // The check and the update are one step for all copies.
    TKernelHandle lock(CreateMutexW(nullptr, FALSE, (name + L".lock").c_str()));
    if (!lock)
        throw EOSError::FromLastError();

    uint32_t ownHandle = HandleValue(Application.Handle());
    uint32_t lastInstanceHandle = 0;
    bool admitted = true;
    {
        TRecordLock held(lock.get());
        TKernelHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 sizeof(TInstanceRecord), name.c_str()));
        if (!mapping)
            throw EOSError::FromLastError();
        bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
        TRecordView view(static_cast<TInstanceRecord*>(
            MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TInstanceRecord))));
        if (!view)
            throw EOSError::FromLastError();

        if (existed) {
            admitted = AdmitInstance(*view, maxInstances_, ownHandle);
            lastInstanceHandle = view->LastInstanceHandle;
        } else {
            *view = FirstInstanceRecord(ownHandle);
        }
        tookCount_ = admitted;
        // Kept for the life of the process.
        mapping_ = std::move(mapping);
        view_ = std::move(view);
    }
    lock_ = std::move(lock);

    if (!admitted) {
        instanceCounted_ = false;
        RefuseInstance(lastInstanceHandle);
    }
}

void TadpInstanceControl::RefuseInstance(uint32_t lastInstanceHandle)
{
    Application.SetShowMainForm(false);
    ShowWindow(Application.Handle(), SW_HIDE);
    if (OnMaxInstancesReached)
        OnMaxInstancesReached(*this, lastInstanceHandle);
    HWND running = WindowFromValue(lastInstanceHandle);
    if (IsIconic(running))
        ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    Application.Terminate();
}
