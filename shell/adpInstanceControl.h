// TadpInstanceControl: limits how many copies of the program, started from
// the same executable path, run at once. The copies count themselves in a
// small named shared-memory record; a copy that finds the limit reached hides
// itself, hands the running copy's application window to
// OnMaxInstancesReached, brings that copy to the front and asks to quit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/Exception.h"
#include "core/InstanceRules.h"

// A second guard in one process.
class EInstanceControl : public Exception {
public:
    using Exception::Exception;
};

// A failed operating-system call, with the system's error code.
class EOSError : public Exception {
public:
    EOSError(uint32_t code, const std::string& message) : Exception(message), code_(code) {}
    uint32_t ErrorCode() const { return code_; }

    // The error for GetLastError's code now.
    static EOSError FromLastError();

private:
    uint32_t code_;
};

class TadpInstanceControl {
public:
    using TMaxInstancesReachedEvent =
        std::function<void(TadpInstanceControl& sender, uint32_t lastInstanceHandle)>;

    // Registers this guard as the process's one guard; throws
    // EInstanceControl when the process has one already.
    TadpInstanceControl();
    // Gives back the count this copy took, if it took one.
    ~TadpInstanceControl();
    TadpInstanceControl(const TadpInstanceControl&) = delete;
    TadpInstanceControl& operator=(const TadpInstanceControl&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    uint32_t MaxInstances() const { return maxInstances_; }
    void SetMaxInstances(uint32_t value) { maxInstances_ = value; }
    // Raised in a refused copy with the application window of the copy
    // counted last.
    TMaxInstancesReachedEvent OnMaxInstancesReached;

    // The check, run once after the owner's components are set up: counts
    // this copy or refuses it. Throws EOSError when the shared record cannot
    // be created or mapped.
    void Loaded();

    // True when the check refused this copy; the copy is about to quit.
    bool Refused() const { return !instanceCounted_; }

    // The process's guard, or nullptr.
    static TadpInstanceControl* Registered() { return registered_; }

private:
    struct THandleCloser {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    struct TViewUnmapper {
        void operator()(TInstanceRecord* view) const { UnmapViewOfFile(view); }
    };
    using TKernelHandle = std::unique_ptr<void, THandleCloser>;
    using TRecordView = std::unique_ptr<TInstanceRecord, TViewUnmapper>;

    void RefuseInstance(uint32_t lastInstanceHandle);

    static TadpInstanceControl* registered_;

    bool enabled_ = true;
    uint32_t maxInstances_ = 1;
    bool instanceCounted_ = true;
    // Whether this copy added itself to the shared count; only such a copy
    // gives a count back.
    bool tookCount_ = false;
    bool loaded_ = false;
    std::string mappingName_;
    // Declared in this order so that the view goes first, the lock last.
    TKernelHandle lock_;
    TKernelHandle mapping_;
    TRecordView view_;
};
