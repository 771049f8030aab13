#pragma once
// The main window: ten channel strips, the clock and synchronization groups, the
// defaults and the sibling programs. The card is the only store: every change goes
// to it at once and every repaint reads it back.
#include <memory>
#include <string>
#include <vector>

#include "controls/ReadoutTip.h"
#include "controls/SkinButton.h"
#include "controls/SkinDropList.h"
#include "device/CardControl.h"
#include "framework/Dialog.h"
#include "framework/PollHandoff.h"
#include "panel/ChannelStrip.h"
#include "panel/PanelFontsHolder.h"
#include "panel/PanelLaws.h"
#include "panel/PanelLayout.h"
#include "panel/SkinBitmapsHolder.h"
#include "panel/StreamStates.h"

class CWaveSettingsDialog : public CDialog {
public:
    static constexpr int kChannels = 10;
    static constexpr UINT kDefaultLampPeriodMs = 1000;
    // The lamp timer polls on its own thread and posts this to the window once
    // the results wait for it (wParam: the timer's identifier).
    static constexpr UINT kLampTickMessage = WM_APP + 1;
    // The device object tells, from whichever thread finds it, that its link went or
    // that a new one found the card (wParam: the CCardControl::LinkEvent).
    static constexpr UINT kCardLinkMessage = WM_APP + 3;

    explicit CWaveSettingsDialog(CWnd* parent = nullptr);
    ~CWaveSettingsDialog() override;

    // Reads the whole card back and shows it; ends by polling the lamps.
    void RefreshFromDevice();
    // Starts the lamp poll if it is not running (once the pending paints are done),
    // then polls once.
    void StartLampTimer();
    // Stops the lamp poll; the next repaint starts it again.
    void StopLampTimer();
    // One poll of the sixteen stream lamps, on the window's thread; the timer's
    // poll begun before it is dropped.
    void RefreshStreamLamps();

    // The lamp poll's period for windows created afterwards (tests use a fast one).
    static void SetLampPeriod(UINT milliseconds);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnUserNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnLampTick(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnCardLink(WPARAM wParam, LPARAM lParam);
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    bool CreateControls();
    bool CreateStripControls();
    bool CreateButtons();
    bool CreateDropLists();
    void AddReadouts();
    void LoadPanelTexts();
    std::string ReadoutOf(HWND control) const;
    void FollowDrag(const CWnd& control);
    void PaintIcon();
    void PaintPanel(CDC& dc) const;
    void ShowStreamStates(const StreamStates& states);

    void OnChannelSwitch(int channel, bool on, bool wasOn);
    void ShowChannelFromCard(int channel, bool wasOn);
    bool ReadChannelLevels(int channel);
    void OnChannelVolume(int channel, int volume);
    void OnChannelBalance(int channel, int balance);
    void SendChannelLevels(int channel, const Levels& levels);
    void OnHelpButton();
    void OnEnableAll();
    void OnDisableAll();
    void OnSaveDefaults();
    void OnRetrieveDefaults();
    void OnAutoSync(bool on);
    void OnCustomSync();
    void OnAudioSettings();
    void OnDiagnostics();
    void OnMeters();
    void ReportNotStarted(const char* program);
    void ShowClockFromCard();
    void OnAboutBox();

    // The card is gone, or back after it was: what the windows show may be stale.
    void ListenToCardLink();
    void ShowLampsIdle();
    void FollowLastCard();
    void RereadEverything();

    static void CALLBACK LampTimerProc(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    HICON m_hIcon = nullptr;
    std::unique_ptr<CCardControl> m_pDevice;
    int32_t m_nCard = -1;
    std::unique_ptr<CPanelLayout> m_pLayout;
    UINT m_nLampTimer = 0;
    CPollHandoff<StreamStates> m_lampPoll{kLampTickMessage};
    CDialog* m_pOpenWindow = nullptr;  // the auxiliary window that works on the card, while open
    CSkinBitmapsHolder m_bitmapsHolder;
    CPanelFontsHolder m_fontsHolder;
    CSkinButton m_btnOK;
    CSkinButton m_btnHelp;
    CSkinButton m_btnSaveDefaults;
    CSkinButton m_btnRetrieveDefaults;
    CSkinButton m_btnAutoSync;
    CSkinButton m_btnCustomSync;
    CSkinDropList m_lstClock;
    CSkinDropList m_lstRate;
    ClockSelection m_clockShown{};  // the lists' values last known to be the card's
    CSkinButton m_btnEnableAll;
    CSkinButton m_btnDisableAll;
    CSkinButton m_btnAudioSettings;
    CSkinButton m_btnMeters;
    CSkinButton m_btnDiagnostics;
    CChannelStrip m_strips[kChannels];
    CReadoutTip m_readouts;
    // The texts drawn on the panel itself, with where each goes.
    struct PanelText {
        std::string text;
        RECT where;
    };
    std::vector<PanelText> m_texts;
    std::string m_readoutText;  // the text last handed to a tip, alive while it copies it
};
