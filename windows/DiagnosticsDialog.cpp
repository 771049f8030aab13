#include "windows/DiagnosticsDialog.h"

#include <mmsystem.h>

#include <string>

#include "controls/PanelFont.h"
#include "controls/SunkenFrame.h"
#include "controls/WindowPainting.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "windows/DiagnosticsText.h"

int32_t g_dmaErrorCount = 0;

UINT CDiagnosticsDialog::s_pollDelayMs = CDiagnosticsDialog::kPollDelayMs;

namespace {

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

// A field is named by the label drawn beside it, without the label's colon.
std::string FieldName(UINT labelId) {
    std::string label = LoadResString(labelId);
    if (!label.empty() && label.back() == ':') label.pop_back();
    return label;
}

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
    m_btnOK.accessibleName = "OK";
    m_btnReset.accessibleName = "Reset Card";
    m_btnFree.accessibleName = "Free Card";
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
        fields[i]->accessibleName = FieldName(IDS_CARD_STATE + i);
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
        // The poll runs on the timer's thread and reads through the borrowed device
        // object only, which outlives this window. The timer carries the poll's key,
        // which a tick that comes after the kill finds stopped or gone.
        CCardControl* device = m_pDevice;
        const int32_t card = m_nCard;
        const auto read = [device, card](const std::atomic<bool>& cancelled) {
            return ReadDiagnostics(*device, card, &cancelled);
        };
        m_poll.Start(m_hWnd, read, std::chrono::milliseconds(s_pollDelayMs / 2));
        m_nTimerId = ::timeSetEvent(s_pollDelayMs, kPollResolutionMs, TickProc, m_poll.Key(), TIME_PERIODIC);
    }
    UpdateValues();
}

void CDiagnosticsDialog::SetPollDelay(UINT milliseconds) { s_pollDelayMs = milliseconds; }

void CALLBACK CDiagnosticsDialog::TickProc(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    CPollJob::Tick(user, timerId);
}

LRESULT CDiagnosticsDialog::OnTick(WPARAM, LPARAM) {
    DiagnosticsReading reading;
    if (m_poll.Take(reading)) ShowValues(reading);
    return 0;
}

void CDiagnosticsDialog::UpdateValues() {
    const DiagnosticsReading reading = ReadDiagnostics(*m_pDevice, m_nCard);
    // A poll begun before this read would bring older values, and an older error count.
    m_poll.Discard();
    ShowValues(reading);
}

// The error count is kept on this thread only: a count that was not read leaves
// g_dmaErrorCount as it was.
void CDiagnosticsDialog::ShowValues(const DiagnosticsReading& r) {
    const int32_t previousCount = g_dmaErrorCount;
    if (r.dmaErrorCountRead) g_dmaErrorCount = static_cast<int32_t>(r.dmaErrorCount);

    m_lblCardState.SetText(r.cardStateRead && r.multiPlayingRead
                               ? LoadResString(CardStateStringId(r.cardState, r.multiPlaying))
                               : kNoReplyText);
    m_lblDmaStatus.SetText(r.dmaStatusRead ? LoadResString(DmaStatusStringId(r.dmaStatus)) : kNoReplyText);
    m_lblDmaErrors.SetText(r.dmaErrorCountRead
                               ? FormatDmaErrors(DmaErrorDifference(previousCount, g_dmaErrorCount))
                               : kNoReplyText);
    m_lblFpgaRevision.SetText(r.fpgaRevisionRead ? FormatFpgaRevision(r.fpgaRevision) : kNoReplyText);
    m_lblClock.SetText(r.clockMeasurementRead ? FormatClock(ClockFrequencyHz(r.clockMeasurement)) : kNoReplyText);
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

// After an action the fields show the card as it left it: a poll begun before the
// click may have read it mid-change, and its values are dropped.
void CDiagnosticsDialog::OnResetCard() {
    if (!m_pDevice->ResetCardStop(m_nCard)) return;
    ::SleepEx(10, FALSE);  // the card needs a moment between stop and start
    m_pDevice->ResetCardStart(m_nCard);
    UpdateValues();
}

void CDiagnosticsDialog::OnFreeCard() {
    m_pDevice->FreeCard(m_nCard);
    UpdateValues();
}

LRESULT CDiagnosticsDialog::OnDestroy(WPARAM, LPARAM) {
    if (m_nTimerId != 0) {
        ::timeKillEvent(m_nTimerId);
        m_nTimerId = 0;
    }
    // Waits for this window's own request in flight at most, never for another poll.
    m_poll.Stop();
    return Default();
}
