#include "kit/Accessibility.h"

#include <oleacc.h>

#include <cwchar>

#include "kit/Pump.h"

namespace support {

namespace {

// Defined here: the import library's copy refers to a data export that not
// every oleacc.dll has.
const IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

TWinEventRecorder* recording = nullptr;

// Owns one reference.
class TAccessiblePtr {
public:
    TAccessiblePtr() = default;
    ~TAccessiblePtr()
    {
        if (object_)
            object_->Release();
    }
    TAccessiblePtr(const TAccessiblePtr&) = delete;
    TAccessiblePtr& operator=(const TAccessiblePtr&) = delete;
    IAccessible* operator->() const { return object_; }
    IAccessible* Get() const { return object_; }
    void** Out() { return reinterpret_cast<void**>(&object_); }

private:
    IAccessible* object_ = nullptr;
};

VARIANT Child(long id)
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// Takes over the string.
std::wstring Taken(BSTR text)
{
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

using TText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::wstring TextOf(IAccessible* object, long id, TText what)
{
    BSTR text = nullptr;
    if (FAILED((object->*what)(Child(id), &text)))
        return {};
    return Taken(text);
}

long NumberOf(IAccessible* object, long id, HRESULT (STDMETHODCALLTYPE IAccessible::*what)(VARIANT, VARIANT*))
{
    VARIANT result;
    VariantInit(&result);
    if (FAILED((object->*what)(Child(id), &result)))
        return 0;
    const long number = result.vt == VT_I4 ? result.lVal : 0;
    VariantClear(&result);
    return number;
}

TAccessibleNode NodeOf(IAccessible* object, HWND window, long id)
{
    TAccessibleNode node;
    node.window = window;
    node.childId = id;
    node.read = true;
    node.name = TextOf(object, id, &IAccessible::get_accName);
    node.value = TextOf(object, id, &IAccessible::get_accValue);
    node.description = TextOf(object, id, &IAccessible::get_accDescription);
    node.defaultAction = TextOf(object, id, &IAccessible::get_accDefaultAction);
    node.role = NumberOf(object, id, &IAccessible::get_accRole);
    node.state = NumberOf(object, id, &IAccessible::get_accState);
    return node;
}

// The children that are simple elements (no object of their own).
void AddParts(IAccessible* object, TAccessibleNode& node)
{
    long count = 0;
    if (FAILED(object->get_accChildCount(&count)))
        return;
    for (long id = 1; id <= count; ++id) {
        IDispatch* child = nullptr;
        const HRESULT hr = object->get_accChild(Child(id), &child);
        if (child)
            child->Release();
        else if (hr == S_FALSE)
            node.children.push_back(NodeOf(object, node.window, id));
    }
}

} // namespace

TAccessibleObject::TAccessibleObject(HWND window)
{
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&object_))))
        object_ = nullptr;
}

TAccessibleObject::~TAccessibleObject()
{
    if (object_)
        object_->Release();
}

HRESULT TAccessibleObject::Name(std::wstring& name, long childId) const
{
    BSTR text = nullptr;
    const HRESULT hr = object_ ? object_->get_accName(Child(childId), &text) : E_POINTER;
    name = Taken(text);
    return hr;
}

HRESULT TAccessibleObject::DoDefaultAction(long childId) const
{
    return object_ ? object_->accDoDefaultAction(Child(childId)) : E_POINTER;
}

TComApartment::TComApartment()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

TComApartment::~TComApartment()
{
    CoUninitialize();
}

const TAccessibleNode* TAccessibleNode::Find(const std::wstring& wanted) const
{
    if (name == wanted)
        return this;
    for (const TAccessibleNode& child : children)
        if (const TAccessibleNode* found = child.Find(wanted))
            return found;
    return nullptr;
}

TAccessibleNode ReadAccessible(HWND window, bool deep)
{
    TAccessiblePtr object;
    TAccessibleNode node;
    node.window = window;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIAccessible, object.Out())) || !object.Get())
        return node;
    node = NodeOf(object.Get(), window, CHILDID_SELF);
    if (!deep)
        return node;
    AddParts(object.Get(), node);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        node.children.push_back(ReadAccessible(child, true));
    return node;
}

std::wstring RoleText(long role)
{
    wchar_t text[128] = L"";
    GetRoleTextW(static_cast<DWORD>(role), text, 128);
    return text;
}

std::wstring StateText(long state)
{
    std::wstring words;
    for (int shift = 0; shift < 31; ++shift) {
        const unsigned long bit = 1ul << shift;
        if (static_cast<unsigned long>(state) & bit) {
            wchar_t text[128] = L"";
            // Not every system has words for every state.
            if (GetStateTextW(bit, text, 128) == 0 || text[0] == L' ' || !text[0])
                swprintf(text, 128, L"0x%lx", bit);
            words += (words.empty() ? L"" : L", ") + std::wstring(text);
        }
    }
    return words;
}

std::wstring TreeText(const TAccessibleNode& node, int depth)
{
    std::wstring line(2 * depth, L' ');
    line += L"\"" + node.name + L"\" " + RoleText(node.role);
    if (node.state)
        line += L" [" + StateText(node.state) + L"]";
    if (!node.value.empty())
        line += L" value \"" + node.value + L"\"";
    if (!node.description.empty())
        line += L" description \"" + node.description + L"\"";
    if (!node.defaultAction.empty())
        line += L" action \"" + node.defaultAction + L"\"";
    line += L"\n";
    for (const TAccessibleNode& child : node.children)
        line += TreeText(child, depth + 1);
    return line;
}

TWinEventRecorder::TWinEventRecorder()
{
    recording = this;
    hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, Callback, 0, 0,
                            WINEVENT_OUTOFCONTEXT);
}

TWinEventRecorder::~TWinEventRecorder()
{
    if (hook_)
        UnhookWinEvent(hook_);
    recording = nullptr;
}

int TWinEventRecorder::Count(DWORD event, HWND window) const
{
    PumpMessages();
    int count = 0;
    for (const TWinEvent& seen : events_)
        count += seen.event == event && seen.window == window;
    return count;
}

void CALLBACK TWinEventRecorder::Callback(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                          DWORD)
{
    if (recording && object == OBJID_CLIENT)
        recording->events_.push_back({event, window, child});
}

} // namespace support
