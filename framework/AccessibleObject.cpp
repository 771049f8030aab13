#include "framework/AccessibleObject.h"

#include <string>

#include "framework/AccessibleWnd.h"

namespace {

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

HRESULT CAccessibleObject::Self(const VARIANT& child, CAccessibleWnd** owner) const {
    if (HRESULT hr = Live(owner); FAILED(hr)) return hr;
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK : E_INVALIDARG;
}

HRESULT CAccessibleObject::Text(const VARIANT& child, BSTR* out, TextOfOwner text) const {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
    if (text == nullptr) return S_FALSE;
    return Guarded([&] { return TextAnswer(text(*owner), out); });
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
    return Live(&owner);
}

HRESULT CAccessibleObject::get_accChild(VARIANT, IDispatch** dispatch) {
    if (dispatch == nullptr) return E_POINTER;
    *dispatch = nullptr;
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Live(&owner); FAILED(hr)) return hr;
    return E_INVALIDARG;
}

HRESULT CAccessibleObject::get_accName(VARIANT child, BSTR* name) {
    return Text(child, name, [](const CAccessibleWnd& owner) { return owner.accessibleName; });
}

HRESULT CAccessibleObject::get_accValue(VARIANT child, BSTR* value) {
    return Text(child, value, [](const CAccessibleWnd& owner) { return owner.AccessibleValue(); });
}

HRESULT CAccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
    return Text(child, description, nullptr);
}

HRESULT CAccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr) return E_POINTER;
    ::VariantInit(role);
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
    role->vt = VT_I4;
    role->lVal = owner->AccessibleRole();
    return S_OK;
}

HRESULT CAccessibleObject::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr) return E_POINTER;
    ::VariantInit(state);
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
    return Guarded([&] {
        state->lVal = owner->AccessibleState();
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
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
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

HRESULT CAccessibleObject::get_accSelection(VARIANT* selection) {
    if (selection == nullptr) return E_POINTER;
    ::VariantInit(selection);
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Live(&owner); FAILED(hr)) return hr;
    return S_FALSE;
}

HRESULT CAccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Text(child, action, [](const CAccessibleWnd& owner) { return owner.AccessibleDefaultAction(); });
}

HRESULT CAccessibleObject::accSelect(long, VARIANT child) {
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CAccessibleObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
    RECT rect{};
    if (!::GetWindowRect(owner->GetSafeHwnd(), &rect)) return E_FAIL;
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

// The window has no children, and its siblings are its parent's to find.
HRESULT CAccessibleObject::accNavigate(long, VARIANT start, VARIANT* end) {
    if (end == nullptr) return E_POINTER;
    ::VariantInit(end);
    CAccessibleWnd* owner = nullptr;
    if (HRESULT hr = Self(start, &owner); FAILED(hr)) return hr;
    return S_FALSE;
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
    if (HRESULT hr = Self(child, &owner); FAILED(hr)) return hr;
    return Guarded([&] { return owner->QueueDefaultAction() ? S_OK : DISP_E_MEMBERNOTFOUND; });
}

HRESULT CAccessibleObject::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT CAccessibleObject::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }
