// A small screen reader for the tests: it reads, through Microsoft Active
// Accessibility as a reader does (AccessibleObjectFromWindow, IAccessible),
// the client object of a window of this or another process, the parts it
// reports as simple elements and, below them, the objects of its child
// windows; and it records the WinEvents that windows raise. The thread that
// reads must have COM started (TComApartment).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct IAccessible;

namespace support {

// COM on this thread for as long as it lives.
class TComApartment {
public:
    TComApartment();
    ~TComApartment();
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;
};

// One object as the reader reads it.
struct TAccessibleNode {
    HWND window = nullptr; // the window whose client object it is, or whose part
    long childId = 0;      // 0: the client object itself
    bool read = false;     // the object answered
    std::wstring name;
    long role = 0;
    long state = 0;
    std::wstring value;
    std::wstring description;
    std::wstring defaultAction;
    std::vector<TAccessibleNode> children;

    bool Has(long stateBits) const { return (state & stateBits) == stateBits; }
    // The first node below this one (or this one) with the name; nullptr if
    // none.
    const TAccessibleNode* Find(const std::wstring& name) const;
};

// The client object of one window, held as a reader holds it: it may
// outlive the window.
class TAccessibleObject {
public:
    explicit TAccessibleObject(HWND window);
    ~TAccessibleObject();
    TAccessibleObject(const TAccessibleObject&) = delete;
    TAccessibleObject& operator=(const TAccessibleObject&) = delete;

    bool Valid() const { return object_ != nullptr; }
    HRESULT Name(std::wstring& name, long childId = 0) const;
    HRESULT DoDefaultAction(long childId = 0) const;

private:
    IAccessible* object_ = nullptr;
};

// The client object of window; with deep, its parts and its child windows'
// objects below it, in the windows' order.
TAccessibleNode ReadAccessible(HWND window, bool deep = true);

// The role's and the states' words as the system gives them ("check box",
// "focused, focusable").
std::wstring RoleText(long role);
std::wstring StateText(long state);
// The tree as text, one object a line, indented by depth: name, role,
// states, value, description.
std::wstring TreeText(const TAccessibleNode& node, int depth = 0);

// The WinEvents raised for client objects while it lives (each process's,
// delivered to this thread's message loop).
struct TWinEvent {
    DWORD event;
    HWND window;
    LONG child;
};
class TWinEventRecorder {
public:
    TWinEventRecorder();
    ~TWinEventRecorder();
    TWinEventRecorder(const TWinEventRecorder&) = delete;
    TWinEventRecorder& operator=(const TWinEventRecorder&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    // How many of this event came for the window so far (messages served).
    int Count(DWORD event, HWND window) const;
    void Clear() { events_.clear(); }

private:
    static void CALLBACK Callback(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD);
    HWINEVENTHOOK hook_ = nullptr;
    std::vector<TWinEvent> events_;
};

} // namespace support
