#pragma once
// The application object: one global instance of a class derived from CWinApp.
// WinMain (in the framework) calls InitInstance and ends the program when it
// returns FALSE, as the panel always does.
#include "framework/Wnd.h"

class CWinApp;

// The application's command map: commands (menu, accelerator and framework command
// ids) that no window handled go to the application's handlers.
using AppCommandHandler = void (CWinApp::*)();

struct CommandMapEntry {
    UINT id;
    AppCommandHandler handler;
};

struct CommandMap {
    const CommandMap* base;          // the base class's map, searched next
    const CommandMapEntry* entries;  // ends with {0, nullptr}
};

#define DECLARE_COMMAND_MAP()                          \
protected:                                             \
    static const CommandMapEntry commandEntries_[];    \
    static const CommandMap commandMap_;               \
    const CommandMap* GetCommandMap() const override;

#define BEGIN_COMMAND_MAP(Class, Base)                                                    \
    const CommandMap Class::commandMap_ = {&Base::commandMap_, Class::commandEntries_};  \
    const CommandMap* Class::GetCommandMap() const { return &commandMap_; }              \
    const CommandMapEntry Class::commandEntries_[] = {

#define ON_COMMAND(id, member) {id, static_cast<AppCommandHandler>(&member)},

#define END_COMMAND_MAP() {0, nullptr}};

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    virtual BOOL InitInstance();
    // The framework's Help command (ID_HELP, 57670): asks the capture window, the
    // focus window (each with its parents or owners) and the main window's last
    // active popup with WM_COMMANDHELP; when none answers, sends ID_DEFAULT_HELP
    // to the main window.
    virtual void OnHelp();
    // Calls the help engine on the program's help file (the program's path with
    // ".hlp"). Does nothing but HELP_QUIT while that file does not exist.
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
    std::string GetHelpFilePath() const;
    // The three-dimensional look of standard controls; FALSE: the platform's own.
    BOOL Enable3dControlsStatic();
    // Runs the handler that the command map gives the command; FALSE when it has none.
    BOOL OnCmdMsg(UINT id);

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

    static CWinApp* Current();

protected:
    virtual const CommandMap* GetCommandMap() const;
    static const CommandMapEntry commandEntries_[];
    static const CommandMap commandMap_;
};

constexpr UINT ID_HELP = 57670;
constexpr UINT ID_DEFAULT_HELP = 57671;
// The question of the help search: "can you give help here?"; nonzero answers.
constexpr UINT WM_COMMANDHELP = 0x0365;

// The module that holds the resources (the running program).
HINSTANCE AfxGetResourceHandle();
// Loads a string from the string table; empty when the identifier has none.
std::string LoadResString(UINT id);
