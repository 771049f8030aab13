#include "tests/win32/accessibility_support.h"

namespace {

// Takes the string and frees it; empty for a null one.
std::string Take(BSTR text) {
    if (text == nullptr) return std::string();
    const int length = static_cast<int>(::SysStringLen(text));
    std::string result(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr)),
                       '\0');
    if (!result.empty()) {
        ::WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], static_cast<int>(result.size()), nullptr, nullptr);
    }
    ::SysFreeString(text);
    return result;
}

long TakeLong(VARIANT& v) {
    const long result = v.vt == VT_I4 ? v.lVal : -1;
    ::VariantClear(&v);
    return result;
}

}  // namespace

AccessibleRef::AccessibleRef(HWND hwnd)
    : found_(::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object_))) {}

AccessibleRef::~AccessibleRef() {
    if (object_ != nullptr) object_->Release();
}

VARIANT ChildVariant(long child) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

AccessibleReading AccessibleRef::Read(long child) const {
    AccessibleReading r;
    r.found = found_;
    if (object_ == nullptr) return r;
    const VARIANT self = ChildVariant(child);
    BSTR text = nullptr;
    object_->get_accName(self, &text);
    r.name = Take(text);
    text = nullptr;
    object_->get_accValue(self, &text);
    r.value = Take(text);
    text = nullptr;
    object_->get_accDefaultAction(self, &text);
    r.defaultAction = Take(text);
    VARIANT v;
    ::VariantInit(&v);
    object_->get_accRole(self, &v);
    r.role = TakeLong(v);
    object_->get_accState(self, &v);
    r.state = TakeLong(v);
    return r;
}

HRESULT AccessibleRef::DoDefaultAction(long child) const {
    if (object_ == nullptr) return found_;
    return object_->accDoDefaultAction(ChildVariant(child));
}

HRESULT AccessibleRef::SetValue(const std::string& text) const {
    if (object_ == nullptr) return found_;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR value = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), value, length);
    const HRESULT result = object_->put_accValue(ChildVariant(CHILDID_SELF), value);
    ::SysFreeString(value);
    return result;
}

AccessibleReading ReadAccessible(HWND hwnd) { return AccessibleRef(hwnd).Read(); }

ComApartment::ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComApartment::~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
}
