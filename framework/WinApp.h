#pragma once
// The application object: one global instance of a class derived from CWinApp.
// WinMain (in the framework) calls InitInstance and ends the program when it
// returns FALSE, as the panel always does.
#include "framework/Wnd.h"

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    virtual BOOL InitInstance();
    // The framework's Help command (ID_HELP, 57670): opens the program's help file.
    virtual void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

    static CWinApp* Current();
};

constexpr UINT ID_HELP = 57670;
constexpr UINT ID_DEFAULT_HELP = 57671;

// The module that holds the resources (the running program).
HINSTANCE AfxGetResourceHandle();
// Loads a string from the string table; empty when the identifier has none.
std::string LoadResString(UINT id);
