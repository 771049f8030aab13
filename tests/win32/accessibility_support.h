#pragma once
// Reading a window's accessible object the way a screen reader does: through
// oleacc's AccessibleObjectFromWindow on the window's client area.
#include <windows.h>
#include <oleacc.h>

#include <string>

// What a client reads of one object (CHILDID_SELF) or of one of its children.
struct AccessibleReading {
    HRESULT found = E_FAIL;  // the result of AccessibleObjectFromWindow
    std::string name;
    long role = 0;
    std::string value;
    long state = 0;
    std::string defaultAction;
};

// One reference to a window's accessible object, released at the end of scope.
class AccessibleRef {
public:
    explicit AccessibleRef(HWND hwnd);
    ~AccessibleRef();
    AccessibleRef(const AccessibleRef&) = delete;
    AccessibleRef& operator=(const AccessibleRef&) = delete;

    HRESULT found() const { return found_; }
    IAccessible* get() const { return object_; }
    AccessibleReading Read(long child = CHILDID_SELF) const;
    HRESULT DoDefaultAction(long child = CHILDID_SELF) const;
    HRESULT SetValue(const std::string& text) const;

private:
    IAccessible* object_ = nullptr;  // before found_, which fills it
    HRESULT found_;
};

AccessibleReading ReadAccessible(HWND hwnd);

// The child id as a VARIANT, as clients pass it.
VARIANT ChildVariant(long child);

// The thread's COM apartment for the length of a test.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};
