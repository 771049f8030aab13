#pragma once
// Thin window class: one C++ object per window, static message maps, handlers named On...
#include <windows.h>
#include <string>

#include "framework/MouseRelay.h"

class CWnd;

// Every handler has this one shape; the map casts derived members to it.
using WndHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);

struct MessageMapEntry {
    UINT message;
    WndHandler handler;
};

struct MessageMap {
    const MessageMap* base;          // the base class's map, searched next
    const MessageMapEntry* entries;  // ends with {0, nullptr}
};

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const MessageMapEntry messageEntries_[];   \
    static const MessageMap messageMap_;              \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(Class, Base)                                            \
    const MessageMap Class::messageMap_ = {&Base::messageMap_, Class::messageEntries_}; \
    const MessageMap* Class::GetMessageMap() const { return &messageMap_; }       \
    const MessageMapEntry Class::messageEntries_[] = {

#define ON_MESSAGE(message, member) {message, static_cast<WndHandler>(&member)},

#define END_MESSAGE_MAP() {0, nullptr}};

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();  // destroys the window if it still exists

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hwnd);  // the object attached to hwnd, or null

    // A visible child window of the framework's default child class (CS_DBLCLKS,
    // no background brush) with rectangle (left, top, right, bottom) in the parent.
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Same, for windows of another (registered or system) class; the object
    // subclasses the window so that its message map sees every message.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
                  const RECT& rect, HWND parent, UINT_PTR idOrMenu);
    BOOL DestroyWindow();

    int GetDlgCtrlID() const;
    HWND GetParentHwnd() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam) const;
    BOOL PostToParent(UINT message, WPARAM wParam, LPARAM lParam) const;

    void Invalidate(BOOL erase = TRUE) const;
    void InvalidateRect(const RECT* rect, BOOL erase) const;
    void UpdateWindow() const;
    HWND SetCapture() const;
    HWND GetCapture() const { return ::GetCapture(); }
    void GetClientRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ScreenToClient(POINT* point) const;
    void SetWindowText(const char* text) const;
    std::string GetWindowText() const;
    BOOL ShowWindow(int cmd) const;
    BOOL IsIconic() const;
    HMENU GetSystemMenu(BOOL revert) const;
    // The window's mouse messages go to relay before the window handles them, as a
    // tooltip's own subclass would send them, but without the window property it
    // looks up on every message. Null stops the relay.
    void RelayMouseTo(CMouseRelay* relay);

    // The window procedure of every framework window.
    static LRESULT CALLBACK WindowProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static const char* DefaultClassName();  // registered on first use

protected:
    virtual const MessageMap* GetMessageMap() const;
    // Dispatches through the message maps; unmapped messages go to Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled: the window's previous
    // procedure (the class procedure of a subclassed window) or DefWindowProc.
    LRESULT Default();

    // Attaches the object to hwnd and routes its messages through WindowProcThunk.
    void Attach(HWND hwnd);
    void Detach();
    virtual void PostNcDestroy() {}

    static const MessageMapEntry messageEntries_[];
    static const MessageMap messageMap_;

private:
    friend class CCreationHook;
    void RelayMouse(UINT message, WPARAM wParam, LPARAM lParam) const;

    WNDPROC previousProc_ = nullptr;
    CMouseRelay* mouseRelay_ = nullptr;
    UINT curMessage_ = 0;
    WPARAM curWParam_ = 0;
    LPARAM curLParam_ = 0;
};
