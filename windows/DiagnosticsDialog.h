#pragma once
// Live status of one card (card state, DMA status, DMA errors, FPGA revision, clock
// frequency), polled twice a second, with Reset Card and Free Card.
#include <cstdint>

#include "controls/SkinButton.h"
#include "controls/SkinLabel.h"
#include "device/CardControl.h"
#include "framework/Dialog.h"
#include "framework/PollHandoff.h"
#include "windows/DiagnosticsReading.h"

// The DMA error count of the last update, for the whole program: a reopened window
// shows the growth since the previous opening's last update.
extern int32_t g_dmaErrorCount;

class CDiagnosticsDialog : public CDialog {
public:
    static constexpr UINT kPollDelayMs = 500;
    static constexpr UINT kPollResolutionMs = 250;
    // The timer polls on its own thread and posts this once the values wait for
    // the window (wParam: the timer's identifier).
    static constexpr UINT kTickMessage = WM_APP + 2;

    // Borrows device; the window owns nothing of it.
    CDiagnosticsDialog(CCardControl* device, int32_t card, CWnd* parent = nullptr);
    ~CDiagnosticsDialog() override;

    // Starts the periodic timer unless it runs, then updates once.
    void StartPolling();
    // Reads the six values from the card on this thread and shows them in the five
    // fields; the timer's poll begun before it is dropped.
    void UpdateValues();

    // The poll's delay for windows that start polling afterwards (tests use others).
    static void SetPollDelay(UINT milliseconds);

protected:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnUserNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTick(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    bool CreateControls();
    void OnResetCard();
    void OnFreeCard();
    void ShowValues(const DiagnosticsReading& reading);

    static UINT s_pollDelayMs;
    static void CALLBACK TickProc(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    CCardControl* m_pDevice;
    int32_t m_nCard;
    CSkinButton m_btnOK;
    CSkinButton m_btnReset;
    CSkinButton m_btnFree;
    CSkinLabel m_lblCardState;
    CSkinLabel m_lblDmaStatus;
    CSkinLabel m_lblDmaErrors;
    CSkinLabel m_lblFpgaRevision;
    CSkinLabel m_lblClock;
    UINT m_nTimerId = 0;
    CPollHandoff<DiagnosticsReading> m_poll{kTickMessage};
};
