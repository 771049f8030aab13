#include "windows/DiagnosticsDialog.h"

#include <mmsystem.h>

#include <string>

#include "controls/PanelFont.h"
#include "controls/SunkenFrame.h"
#include "controls/WindowPainting.h"
#include "device/Status.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "windows/DiagnosticsText.h"

int32_t g_dmaErrorCount = 0;

UINT CDiagnosticsDialog::s_pollDelayMs = CDiagnosticsDialog::kPollDelayMs;

namespace {

// QueryStatus selectors of the six values, all on bank 0, item 0.
constexpr uint32_t kSelectFpgaRevision = 11;
constexpr uint32_t kSelectCardState = 12;
constexpr uint32_t kSelectDmaStatus = 13;
constexpr uint32_t kSelectMultiPlaying = 16;
constexpr uint32_t kSelectDmaErrors = 17;
constexpr uint32_t kSelectClockMeasurement = 6;

// Shown instead of a value when the driver gave no reply at all: an old value or a
// value made up from nothing would look live.
constexpr char kNoReplyText[] = "No reply";

// Five rows, 25 pixels apart: a sunken frame, its label and its value field.
constexpr int kRows = 5;
constexpr int kRowPitch = 25;
constexpr int kFirstRowY = 8;
constexpr int kFieldX = 100;
constexpr int kTileStep = 80;
constexpr int kTileRowStep = 76;
constexpr int kLastTileX = 240;
constexpr int kLastTileY = 152;

}  // namespace

BEGIN_MESSAGE_MAP(CDiagnosticsDialog, CDialog)
    ON_MESSAGE(WM_CREATE, CDiagnosticsDialog::OnCreate)
    ON_MESSAGE(WM_PAINT, CDiagnosticsDialog::OnPaint)
    ON_MESSAGE(WM_USER, CDiagnosticsDialog::OnUserNotify)
    ON_MESSAGE(CDiagnosticsDialog::kTickMessage, CDiagnosticsDialog::OnTick)
    ON_MESSAGE(WM_DESTROY, CDiagnosticsDialog::OnDestroy)
END_MESSAGE_MAP()

CDiagnosticsDialog::CDiagnosticsDialog(CCardControl* device, int32_t card, CWnd* parent)
    : CDialog(IDD_DIAGNOSTICS, parent), m_pDevice(device), m_nCard(card) {}

CDiagnosticsDialog::~CDiagnosticsDialog() = default;

LRESULT CDiagnosticsDialog::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) return -1;
    SetWindowText(LoadResString(IDS_DIAGNOSTICS_TITLE).c_str());
    return CreateControls() ? 0 : -1;
}

bool CDiagnosticsDialog::CreateControls() {
    if (!m_btnOK.Create({200, 140}, this, IDC_DIAG_OK, IDB_OK, IDB_OK, IDB_OK_DOWN, IDB_OK_DOWN)) return false;
    if (!m_btnReset.Create({90, 142}, this, IDC_DIAG_RESET, IDB_RESET_CARD, IDB_RESET_CARD, IDB_RESET_CARD_DOWN,
                           IDB_RESET_CARD_DOWN))
        return false;
    if (!m_btnFree.Create({10, 142}, this, IDC_DIAG_FREE, IDB_FREE_CARD, IDB_FREE_CARD, IDB_FREE_CARD_DOWN,
                          IDB_FREE_CARD_DOWN))
        return false;
    CSkinLabel* const fields[kRows] = {&m_lblCardState, &m_lblDmaStatus, &m_lblDmaErrors, &m_lblFpgaRevision,
                                   &m_lblClock};
    const std::string idle = LoadResString(IDS_IDLE);
    for (int i = 0; i < kRows; ++i) {
        const POINT at = {kFieldX, kFirstRowY + i * kRowPitch};
        if (!fields[i]->Create(&at, this, IDC_DIAG_FIELD, IDB_FIELD, idle)) return false;
    }
    return true;
}

LRESULT CDiagnosticsDialog::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    TileBackground(&dc, kLastTileX, kLastTileY, kTileStep, kTileRowStep);
    for (int i = 0; i < kRows; ++i) {
        DrawSunkenFrame(&dc, RECT{5, 5 + i * kRowPitch, 263, 25 + i * kRowPitch});
    }
    CSelectObject font(dc, g_panelFont);
    CBkModeScope transparent(dc, TRANSPARENT);
    for (int i = 0; i < kRows; ++i) {
        const int top = kFirstRowY + i * kRowPitch;
        DrawResString(dc, IDS_CARD_STATE + i, RECT{10, top, 95, top + 16});
    }
    StartPolling();
    return 0;
}

void CDiagnosticsDialog::StartPolling() {
    if (m_nTimerId == 0) {
        // The window's handle, not the object, is the timer's user data: a tick that
        // comes after the window is gone posts to nothing.
        m_nTimerId = ::timeSetEvent(s_pollDelayMs, kPollResolutionMs, TickProc,
                                    reinterpret_cast<DWORD_PTR>(m_hWnd), TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
    }
    UpdateValues();
}

void CDiagnosticsDialog::SetPollDelay(UINT milliseconds) { s_pollDelayMs = milliseconds; }

void CALLBACK CDiagnosticsDialog::TickProc(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    ::PostMessageA(reinterpret_cast<HWND>(user), kTickMessage, timerId, 0);
}

LRESULT CDiagnosticsDialog::OnTick(WPARAM, LPARAM) {
    // Ticks that piled up while the thread was busy need one update, not one each.
    MSG pending;
    while (::PeekMessageA(&pending, m_hWnd, kTickMessage, kTickMessage, PM_REMOVE)) {
    }
    UpdateValues();
    return 0;
}

void CDiagnosticsDialog::UpdateValues() {
    uint32_t state = 0;
    uint32_t multiPlaying = 0;
    uint32_t dmaStatus = 0;
    uint32_t fpgaRevision = 0;
    uint32_t measurement = 0;
    const bool stateRead = !IsPanelFailure(m_pDevice->QueryStatus(m_nCard, 0, kSelectCardState, 0, &state));
    const bool multiRead = !IsPanelFailure(m_pDevice->QueryStatus(m_nCard, 0, kSelectMultiPlaying, 0, &multiPlaying));
    const bool dmaRead = !IsPanelFailure(m_pDevice->QueryStatus(m_nCard, 0, kSelectDmaStatus, 0, &dmaStatus));
    const bool fpgaRead = !IsPanelFailure(m_pDevice->QueryStatus(m_nCard, 0, kSelectFpgaRevision, 0, &fpgaRevision));
    const bool clockRead =
        !IsPanelFailure(m_pDevice->QueryStatus(m_nCard, 0, kSelectClockMeasurement, 0, &measurement));

    const int32_t previousCount = g_dmaErrorCount;
    uint32_t count = static_cast<uint32_t>(g_dmaErrorCount);
    const bool countRead = !IsPanelFailure(m_pDevice->QueryStatus(m_nCard, 0, kSelectDmaErrors, 0, &count));
    if (countRead) g_dmaErrorCount = static_cast<int32_t>(count);

    m_lblCardState.SetText(stateRead && multiRead ? LoadResString(CardStateStringId(state, multiPlaying))
                                                  : kNoReplyText);
    m_lblDmaStatus.SetText(dmaRead ? LoadResString(DmaStatusStringId(dmaStatus)) : kNoReplyText);
    m_lblDmaErrors.SetText(countRead ? FormatDmaErrors(DmaErrorDifference(previousCount, g_dmaErrorCount))
                                     : kNoReplyText);
    m_lblFpgaRevision.SetText(fpgaRead ? FormatFpgaRevision(fpgaRevision) : kNoReplyText);
    m_lblClock.SetText(clockRead ? FormatClock(ClockFrequencyHz(measurement)) : kNoReplyText);
}

LRESULT CDiagnosticsDialog::OnUserNotify(WPARAM wParam, LPARAM) {
    switch (wParam) {
    case IDC_DIAG_OK: OnOK(); break;
    case IDC_DIAG_FREE: OnFreeCard(); break;
    case IDC_DIAG_RESET: OnResetCard(); break;
    default: break;
    }
    return 0;
}

void CDiagnosticsDialog::OnResetCard() {
    if (!m_pDevice->ResetCardStop(m_nCard)) return;
    ::SleepEx(10, FALSE);  // the card needs a moment between stop and start
    m_pDevice->ResetCardStart(m_nCard);
}

void CDiagnosticsDialog::OnFreeCard() { m_pDevice->FreeCard(m_nCard); }

LRESULT CDiagnosticsDialog::OnDestroy(WPARAM, LPARAM) {
    if (m_nTimerId != 0) {
        ::timeKillEvent(m_nTimerId);
        m_nTimerId = 0;
    }
    return Default();
}
