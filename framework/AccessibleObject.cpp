#include "framework/AccessibleObject.h"

#include <string>

#include "framework/AccessibleWnd.h"

namespace {

// The longest text a client may give as a value, in characters.
constexpr UINT kMaxValueLength = 64;

// BSTR of an ANSI text; null for an empty one, which clients read as "none".
BSTR ToBstr(const std::string& text) {
    if (text.empty()) return nullptr;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (result != nullptr) {
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, length);
    }
    return result;
}

// The ANSI text of a client's string; characters without one become '?'.
std::string ToAnsi(const wchar_t* text, UINT length) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &result[0], size, nullptr, nullptr);
    return result;
}

// A text answer: S_FALSE when there is no text, E_OUTOFMEMORY when it cannot be copied.
HRESULT TextAnswer(const std::string& text, BSTR* out) {
    *out = ToBstr(text);
    if (text.empty()) return S_FALSE;
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The owner's hooks build strings and may call the owner's callbacks; nothing they
// throw may cross into the client.
template <typename F>
HRESULT Guarded(F&& f) {
    try {
        return f();
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace

CAccessibleObject::CAccessibleObject(CAccessibleWnd* owner) : owner_(owner) {}

void CAccessibleObject::Disconnect() { owner_ = nullptr; }

HRESULT CAccessibleObject::Live(CAccessibleWnd** owner) const {
    if (owner_ == nullptr || owner_->GetSafeHwnd() == nullptr) return RPC_E_DISCONNECTED;
    *owner = owner_;
    return S_OK;
}

HRESULT CAccessibleObject::Target(const VARIANT& child, CAccessibleWnd** owner, LONG* id) const {
    if (HRESULT hr = Live(owner); FAILED(hr)) return hr;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal != CHILDID_SELF && (child.lVal < 1 || child.lVal > (*owner)->AccessibleChildCount())) {
        return E_INVALIDARG;
    }
    *id = child.lVal;
    return S_OK;
}

HRESULT CAccessibleObject::Self(const VARIANT& child, CAccessibleWnd** owner) const {
    if (HRESULT hr = Live(owner); FAILED(hr)) return hr;
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK : E_INVALIDARG;
}

HRESULT CAccessibleObject::Text(const VARIANT& child, BSTR* out, TextOf text) const {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    if (text == nullptr) return S_FALSE;
    return Guarded([&] { return TextAnswer(text(*owner, id), out); });
}

// IUnknown ---------------------------------------------------------------------

HRESULT CAccessibleObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CAccessibleObject::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refCount_)); }

ULONG CAccessibleObject::Release() {
    const LONG count = ::InterlockedDecrement(&refCount_);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

// IDispatch --------------------------------------------------------------------

HRESULT CAccessibleObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CAccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT CAccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT CAccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

// IAccessible ------------------------------------------------------------------

HRESULT CAccessibleObject::get_accParent(IDispatch** parent) {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Live(&owner); FAILED(hr)) return hr;
    // The system's object for the window frame, whose client area this is.
    return ::AccessibleObjectFromWindow(owner->GetSafeHwnd(), static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                        reinterpret_cast<void**>(parent));
}

HRESULT CAccessibleObject::get_accChildCount(long* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Live(&owner); FAILED(hr)) return hr;
    return Guarded([&] {
        *count = owner->AccessibleChildCount();
        return S_OK;
    });
}

// The children are simple elements: a client reaches them through this object.
HRESULT CAccessibleObject::get_accChild(VARIANT child, IDispatch** dispatch) {
    if (dispatch == nullptr) return E_POINTER;
    *dispatch = nullptr;
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    return id == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
}

HRESULT CAccessibleObject::get_accName(VARIANT child, BSTR* name) {
    return Text(child, name, [](const CAccessibleWnd& owner, LONG id) {
        return id == CHILDID_SELF ? owner.accessibleName : owner.AccessibleChildAt(id).name;
    });
}

HRESULT CAccessibleObject::get_accValue(VARIANT child, BSTR* value) {
    return Text(child, value, [](const CAccessibleWnd& owner, LONG id) {
        return id == CHILDID_SELF ? owner.AccessibleValue() : std::string();
    });
}

HRESULT CAccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
    return Text(child, description, nullptr);
}

HRESULT CAccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr) return E_POINTER;
    ::VariantInit(role);
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    return Guarded([&] {
        role->lVal = id == CHILDID_SELF ? owner->AccessibleRole() : owner->AccessibleChildAt(id).role;
        role->vt = VT_I4;
        return S_OK;
    });
}

HRESULT CAccessibleObject::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr) return E_POINTER;
    ::VariantInit(state);
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    return Guarded([&] {
        state->lVal = id == CHILDID_SELF ? owner->AccessibleState() : owner->AccessibleChildAt(id).state;
        state->vt = VT_I4;
        return S_OK;
    });
}

HRESULT CAccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
    return Text(child, help, nullptr);
}

HRESULT CAccessibleObject::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
    if (helpFile != nullptr) *helpFile = nullptr;
    if (topic != nullptr) *topic = -1;
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    return S_FALSE;
}

HRESULT CAccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Text(child, shortcut, nullptr);
}

HRESULT CAccessibleObject::get_accFocus(VARIANT* focus) {
    if (focus == nullptr) return E_POINTER;
    ::VariantInit(focus);
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Live(&owner); FAILED(hr)) return hr;
    if (::GetFocus() != owner->GetSafeHwnd()) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = CHILDID_SELF;
    return S_OK;
}

// At most one child is selected: a list's highlighted item.
HRESULT CAccessibleObject::get_accSelection(VARIANT* selection) {
    if (selection == nullptr) return E_POINTER;
    ::VariantInit(selection);
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Live(&owner); FAILED(hr)) return hr;
    return Guarded([&] {
        const LONG count = owner->AccessibleChildCount();
        for (LONG id = 1; id <= count; ++id) {
            if ((owner->AccessibleChildAt(id).state & STATE_SYSTEM_SELECTED) != 0) {
                selection->vt = VT_I4;
                selection->lVal = id;
                return S_OK;
            }
        }
        return S_FALSE;
    });
}

HRESULT CAccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Text(child, action, [](const CAccessibleWnd& owner, LONG id) {
        return id == CHILDID_SELF ? owner.AccessibleDefaultAction() : owner.AccessibleChildAt(id).defaultAction;
    });
}

HRESULT CAccessibleObject::accSelect(long, VARIANT child) {
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CAccessibleObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    RECT rect{};
    if (id == CHILDID_SELF) {
        if (!::GetWindowRect(owner->GetSafeHwnd(), &rect)) return E_FAIL;
    } else if (!owner->AccessibleChildRect(id, &rect)) {
        return S_FALSE;  // a child not shown has no place on the screen
    }
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

// Within the window's own children only: its siblings are its parent's to find.
HRESULT CAccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (end == nullptr) return E_POINTER;
    ::VariantInit(end);
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(start, &owner, &id); FAILED(hr)) return hr;
    const LONG count = owner->AccessibleChildCount();
    LONG to = 0;
    if (id == CHILDID_SELF) {
        if (direction == NAVDIR_FIRSTCHILD) to = 1;
        if (direction == NAVDIR_LASTCHILD) to = count;
    } else {
        if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) to = id + 1;
        if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) to = id - 1;
    }
    if (to < 1 || to > count) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = to;
    return S_OK;
}

HRESULT CAccessibleObject::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr) return E_POINTER;
    ::VariantInit(child);
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Live(&owner); FAILED(hr)) return hr;
    RECT rect{};
    if (!::GetWindowRect(owner->GetSafeHwnd(), &rect)) return E_FAIL;
    if (x < rect.left || x >= rect.right || y < rect.top || y >= rect.bottom) return S_FALSE;
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
}

HRESULT CAccessibleObject::accDoDefaultAction(VARIANT child) {
    CAccessibleWnd* owner = nullptr;
    LONG id = CHILDID_SELF;
    if (HRESULT hr = Target(child, &owner, &id); FAILED(hr)) return hr;
    return Guarded([&] { return owner->QueueDefaultAction(id); });
}

HRESULT CAccessibleObject::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT CAccessibleObject::put_accValue(VARIANT child, BSTR value) {
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
    const UINT length = ::SysStringLen(value);
    // No value the windows take is anywhere near as long.
    if (length == 0 || length > kMaxValueLength) return E_INVALIDARG;
    return Guarded([&] { return owner->SetAccessibleValue(ToAnsi(value, length)); });
}
