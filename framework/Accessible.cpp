#include "framework/Accessible.h"

#include <oleacc.h>

#include <new>

// Defined here: the import library's copy refers to a data export that not
// every oleacc.dll has.
static const IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

namespace {

BSTR NewBstr(const std::wstring& text)
{
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A child id as a VARIANT carries it; -1 for anything else.
long ChildId(const VARIANT& child)
{
    return child.vt == VT_I4 ? child.lVal : -1;
}

// The states the window itself shows, whatever kind it is.
long WindowStates(HWND window)
{
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    long state = 0;
    if (!IsWindowVisible(window))
        state |= STATE_SYSTEM_INVISIBLE;
    if (style & WS_DISABLED)
        state |= STATE_SYSTEM_UNAVAILABLE;
    else if (style & WS_TABSTOP)
        state |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == window)
        state |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE;
    return state;
}

class TAccessible final : public IAccessible {
public:
    TAccessible(HWND window, IAccessible* standard, TDescribeWindow describe)
        : window_(window), standard_(standard), describe_(describe)
    {
    }
    ~TAccessible() { standard_->Release(); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != kIAccessible)
            return E_NOINTERFACE;
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: readers use the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible: what the window describes.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return Text(child, name, &TAccessibleInfo::name, &TAccessiblePart::name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return Text(child, text, &TAccessibleInfo::description, nullptr, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return Text(child, action, &TAccessibleInfo::defaultAction, &TAccessiblePart::defaultAction,
                    &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

    // IAccessible: the parts, or else the standard object.
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;

    // IAccessible: the standard object's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    using TStandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    // The window's description now; false once the window has gone.
    bool Describe(TAccessibleInfo& info) const;
    // The part a child id names, or nullptr.
    static const TAccessiblePart* PartOf(const TAccessibleInfo& info, long id);
    HRESULT Text(VARIANT child, BSTR* out, std::wstring TAccessibleInfo::*own,
                 std::wstring TAccessiblePart::*part, TStandardText standard);

    LONG references_ = 1;
    HWND window_;
    IAccessible* standard_;
    TDescribeWindow describe_;
};

// Nothing may escape into the reader's call: a failure reads as a window
// that has gone.
bool TAccessible::Describe(TAccessibleInfo& info) const
{
    try {
        return IsWindow(window_) && describe_(window_, info);
    } catch (...) {
        return false;
    }
}

const TAccessiblePart* TAccessible::PartOf(const TAccessibleInfo& info, long id)
{
    if (id < 1 || id > static_cast<long>(info.parts.size()))
        return nullptr;
    return &info.parts[id - 1];
}

HRESULT TAccessible::Text(VARIANT child, BSTR* out, std::wstring TAccessibleInfo::*own,
                          std::wstring TAccessiblePart::*part, TStandardText standard)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id == CHILDID_SELF) {
        *out = (info.*own).empty() ? nullptr : NewBstr(info.*own);
        return *out ? S_OK : S_FALSE;
    }
    if (const TAccessiblePart* found = PartOf(info, id)) {
        *out = part && !(found->*part).empty() ? NewBstr(found->*part) : nullptr;
        return *out ? S_OK : S_FALSE;
    }
    return info.parts.empty() ? (standard_->*standard)(child, out) : E_INVALIDARG;
}

HRESULT TAccessible::get_accValue(VARIANT child, BSTR* value)
{
    if (!value)
        return E_POINTER;
    *value = nullptr;
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    if (ChildId(child) != CHILDID_SELF)
        return info.parts.empty() ? standard_->get_accValue(child, value) : S_FALSE;
    if (!info.value)
        return S_FALSE;
    *value = NewBstr(*info.value);
    return S_OK;
}

HRESULT TAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    if (!role)
        return E_POINTER;
    VariantInit(role);
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    const TAccessiblePart* part = PartOf(info, id);
    if (id != CHILDID_SELF && !part)
        return info.parts.empty() ? standard_->get_accRole(child, role) : E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = part ? part->role : info.role;
    return S_OK;
}

HRESULT TAccessible::get_accState(VARIANT child, VARIANT* state)
{
    if (!state)
        return E_POINTER;
    VariantInit(state);
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    const TAccessiblePart* part = PartOf(info, id);
    if (id != CHILDID_SELF && !part)
        return info.parts.empty() ? standard_->get_accState(child, state) : E_INVALIDARG;
    state->vt = VT_I4;
    state->lVal = part ? part->state : WindowStates(window_) | info.state;
    return S_OK;
}

HRESULT TAccessible::accDoDefaultAction(VARIANT child)
{
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    const TAccessiblePart* part = PartOf(info, id);
    if (id != CHILDID_SELF && !part)
        return info.parts.empty() ? standard_->accDoDefaultAction(child) : E_INVALIDARG;
    const std::wstring& action = part ? part->defaultAction : info.defaultAction;
    if (action.empty())
        return DISP_E_MEMBERNOTFOUND;
    PostMessageW(window_, AccessibleActionMessage(), static_cast<WPARAM>(id), 0);
    return S_OK;
}

HRESULT TAccessible::get_accChildCount(long* count)
{
    if (!count)
        return E_POINTER;
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    if (info.parts.empty())
        return standard_->get_accChildCount(count);
    *count = static_cast<long>(info.parts.size());
    return S_OK;
}

HRESULT TAccessible::get_accChild(VARIANT child, IDispatch** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    if (info.parts.empty())
        return standard_->get_accChild(child, object);
    // Parts are simple elements: readers ask their parent about them.
    return PartOf(info, ChildId(child)) ? S_FALSE : E_INVALIDARG;
}

HRESULT TAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    const TAccessiblePart* part = PartOf(info, ChildId(child));
    if (!part)
        return standard_->accLocation(left, top, width, height, child);
    RECT r = part->bounds;
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

HRESULT TAccessible::accHitTest(long x, long y, VARIANT* child)
{
    if (!child)
        return E_POINTER;
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    POINT at{x, y};
    ScreenToClient(window_, &at);
    for (size_t i = 0; i < info.parts.size(); ++i)
        if (PtInRect(&info.parts[i].bounds, at)) {
            VariantInit(child);
            child->vt = VT_I4;
            child->lVal = static_cast<long>(i + 1);
            return S_OK;
        }
    return standard_->accHitTest(x, y, child);
}

HRESULT TAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!end)
        return E_POINTER;
    VariantInit(end);
    TAccessibleInfo info;
    if (!Describe(info))
        return RPC_E_DISCONNECTED;
    const long count = static_cast<long>(info.parts.size());
    const long id = ChildId(start);
    if (count == 0 || (id == CHILDID_SELF && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
        return standard_->accNavigate(direction, start, end);
    long next = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD: next = id == CHILDID_SELF ? 1 : 0; break;
    case NAVDIR_LASTCHILD: next = id == CHILDID_SELF ? count : 0; break;
    case NAVDIR_NEXT: case NAVDIR_RIGHT: next = id + 1; break;
    case NAVDIR_PREVIOUS: case NAVDIR_LEFT: next = id - 1; break;
    default: return S_FALSE;
    }
    if (next < 1 || next > count)
        return S_FALSE;
    end->vt = VT_I4;
    end->lVal = next;
    return S_OK;
}

} // namespace

TAccessibleInfo::TAccessibleInfo() = default;
TAccessibleInfo::~TAccessibleInfo() = default;

bool AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, TDescribeWindow describe, LRESULT& result)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    TAccessibleInfo info;
    if (!describe(window, info))
        return false;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&standard))) ||
        !standard)
        return false;
    auto* accessible = new (std::nothrow) TAccessible(window, standard, describe);
    if (!accessible) {
        standard->Release();
        return false;
    }
    result = LresultFromObject(kIAccessible, wParam, accessible);
    // The result holds its own reference (or failed and holds none).
    accessible->Release();
    return result > 0;
}

void NotifyAccessible(HWND window, DWORD event, LONG child)
{
    if (window)
        NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

UINT AccessibleActionMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Snapquill.AccessibleAction");
    return message;
}
