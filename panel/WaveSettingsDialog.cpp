#include "panel/WaveSettingsDialog.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "controls/PanelFont.h"
#include "controls/SkinDialogBaseUnits.h"
#include "controls/SunkenFrame.h"
#include "controls/WindowPainting.h"
#include "device/ProgramLauncher.h"
#include "device/Status.h"
#include "framework/Gdi.h"
#include "framework/WinApp.h"
#include "panel/PanelLaws.h"
#include "panel/ReadoutText.h"
#include "resources/resource.h"
#include "windows/AboutBox.h"
#include "windows/CustomSyncDialog.h"
#include "windows/DiagnosticsDialog.h"

namespace {

// What tells the channels apart: the name drawn over the strip and the ids of its
// three controls. Index = channel = the channel argument of the card operations.
struct ChannelIds {
    UINT name, switchId, faderId, knobId;
};

constexpr ChannelIds kChannelIds[CWaveSettingsDialog::kChannels] = {
    {IDS_ANALOG, IDC_ENABLE_ANALOG, IDC_FADER_ANALOG, IDC_KNOB_ANALOG},
    {IDS_SPDIF, IDC_ENABLE_SPDIF, IDC_FADER_SPDIF, IDC_KNOB_SPDIF},
    {IDS_ADAT12, IDC_ENABLE_ADAT12, IDC_FADER_ADAT12, IDC_KNOB_ADAT12},
    {IDS_ADAT34, IDC_ENABLE_ADAT34, IDC_FADER_ADAT34, IDC_KNOB_ADAT34},
    {IDS_ADAT56, IDC_ENABLE_ADAT56, IDC_FADER_ADAT56, IDC_KNOB_ADAT56},
    {IDS_ADAT78, IDC_ENABLE_ADAT78, IDC_FADER_ADAT78, IDC_KNOB_ADAT78},
    {IDS_STREAM12, IDC_ENABLE_STREAM12, IDC_FADER_STREAM12, IDC_KNOB_STREAM12},
    {IDS_STREAM34, IDC_ENABLE_STREAM34, IDC_FADER_STREAM34, IDC_KNOB_STREAM34},
    {IDS_STREAM56, IDC_ENABLE_STREAM56, IDC_FADER_STREAM56, IDC_KNOB_STREAM56},
    {IDS_STREAM78, IDC_ENABLE_STREAM78, IDC_FADER_STREAM78, IDC_KNOB_STREAM78},
};

// The sunken frames of the strips are drawn in this order.
constexpr int kFrameOrder[CWaveSettingsDialog::kChannels] = {2, 3, 4, 5, 0, 1, 6, 7, 8, 9};

// The volume fader: travel margins of the track, the thumb's shadowed rows, full
// range 0..65535 on a logarithmic taper of base 2^8.
constexpr int kFaderBottomMargin = 16;
constexpr int kFaderTopMargin = 15;
constexpr RECT kFaderThumbInset = {1, 1, 2, 2};
constexpr int kFaderMax = 65535;
constexpr int kFaderMin = 0;
constexpr int kFaderTaper = 1;
constexpr double kFaderTaperExponent = 8.0;
// The balance knob's pointer turns about the centre of its 25 x 25 face.
constexpr POINT kKnobCentre = {12, 12};

constexpr UINT kLampResolutionMs = 250;
constexpr UINT_PTR kLampStartTimer = 1;
constexpr char kMetersProgram[] = "MirvaPM.exe";

UINT lampPeriodMs = CWaveSettingsDialog::kDefaultLampPeriodMs;

int ChannelOf(UINT id, UINT ChannelIds::*field) {
    for (int k = 0; k < CWaveSettingsDialog::kChannels; ++k) {
        if (kChannelIds[k].*field == id) return k;
    }
    return -1;
}

// A switch is repainted, and clients told, only when the card's state differs from
// what it shows.
void ShowSwitchState(CSkinButton& sw, int state) {
    if (sw.state != state) sw.ShowState(state);
}

}  // namespace

BEGIN_MESSAGE_MAP(CWaveSettingsDialog, CDialog)
    ON_MESSAGE(WM_CREATE, CWaveSettingsDialog::OnCreate)
    ON_MESSAGE(WM_USER, CWaveSettingsDialog::OnUserNotify)
    ON_MESSAGE(WM_SYSCOMMAND, CWaveSettingsDialog::OnSysCommand)
    ON_MESSAGE(WM_QUERYDRAGICON, CWaveSettingsDialog::OnQueryDragIcon)
    ON_MESSAGE(WM_PAINT, CWaveSettingsDialog::OnPaint)
    ON_MESSAGE(WM_DESTROY, CWaveSettingsDialog::OnDestroy)
    ON_MESSAGE(WM_SIZE, CWaveSettingsDialog::OnSize)
    ON_MESSAGE(WM_SHOWWINDOW, CWaveSettingsDialog::OnShowWindow)
    ON_MESSAGE(WM_TIMER, CWaveSettingsDialog::OnTimer)
    ON_MESSAGE(CWaveSettingsDialog::kLampTickMessage, CWaveSettingsDialog::OnLampTick)
    ON_MESSAGE(WM_NOTIFY, CWaveSettingsDialog::OnNotify)
    ON_MESSAGE(CWaveSettingsDialog::kCardLinkMessage, CWaveSettingsDialog::OnCardLink)
    ON_MESSAGE(WM_POWERBROADCAST, CWaveSettingsDialog::OnPowerBroadcast)
END_MESSAGE_MAP()

CWaveSettingsDialog::CWaveSettingsDialog(CWnd* parent) : CDialog(IDD_WAVESETTINGS, parent) {
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_APP));
    m_pDevice = std::make_unique<CCardControl>();
    m_nCard = static_cast<int32_t>(m_pDevice->GetCardCount()) - 1;
    m_nLampTimer = 0;
    const LONG units = SkinDialogBaseUnits();
    m_pLayout = std::make_unique<CPanelLayout>(LOWORD(units), HIWORD(units));
}

CWaveSettingsDialog::~CWaveSettingsDialog() {
    // The link goes before the controls and the bitmap cache.
    m_pDevice->Release();
    m_pDevice.reset();
    m_pLayout.reset();
}

void CWaveSettingsDialog::SetLampPeriod(UINT milliseconds) { lampPeriodMs = milliseconds; }

// Creation ---------------------------------------------------------------------

LRESULT CWaveSettingsDialog::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) return -1;
    if (!CreateControls()) return -1;
    ListenToCardLink();
    return 0;
}

bool CWaveSettingsDialog::CreateControls() {
    if (!CreateStripControls() || !CreateButtons() || !CreateDropLists()) return false;
    AddReadouts();
    LoadPanelTexts();
    return true;
}

// In the order they are drawn; read from the resources once, not at every repaint.
void CWaveSettingsDialog::LoadPanelTexts() {
    const CPanelLayout& layout = *m_pLayout;
    const auto add = [this](UINT id, const LayoutRect& where) { m_texts.push_back({LoadResString(id), ToRect(where)}); };
    for (int k = 0; k < kChannels; ++k) add(kChannelIds[k].name, layout.nameText[k]);
    add(IDS_SYNCHRONIZATION, layout.syncText);
    add(IDS_CLOCK, layout.clockText);
    add(IDS_VOLUME_BALANCE, layout.volumeBalanceText);
    add(IDS_CONTROL, layout.controlText);
    add(IDS_DEVICE_STATUS, layout.deviceStatusText);
    for (int k = 0; k < kChannels; ++k) add(IDS_BALANCE, layout.balanceText[k]);
    for (int k = 0; k < kChannels; ++k) add(IDS_VOLUME, layout.volumeText[k]);
}

bool CWaveSettingsDialog::CreateStripControls() {
    const CPanelLayout& layout = *m_pLayout;
    for (int k = 0; k < kChannels; ++k) m_strips[k].Describe(LoadResString(kChannelIds[k].name));
    for (int k = 0; k < kChannels; ++k) {
        if (!m_strips[k].m_btnEnable.Create(ToPoint(layout.switchPoint[k]), this, kChannelIds[k].switchId,
                                            IDB_ENABLE_OFF_UP, IDB_ENABLE_ON_UP, IDB_ENABLE_OFF_DOWN,
                                            IDB_ENABLE_ON_DOWN)) {
            return false;
        }
    }
    for (int k = 0; k < kChannels; ++k) {
        if (!m_strips[k].m_fader.Create(this, kChannelIds[k].faderId, layout.faderPoint[k].x,
                                        layout.faderPoint[k].y, IDB_FADER_TRACK, IDB_FADER_THUMB,
                                        kFaderBottomMargin, kFaderTopMargin, kFaderThumbInset, kFaderMax,
                                        kFaderMin, kFaderTaper, kFaderTaperExponent)) {
            return false;
        }
    }
    for (int k = 0; k < kChannels; ++k) {
        const POINT topLeft = ToPoint(layout.knobPoint[k]);
        if (!m_strips[k].m_knob.Create(this, kChannelIds[k].knobId, IDB_KNOB, &topLeft, &kKnobCentre,
                                       static_cast<UINT>(layout.knobRadius))) {
            return false;
        }
    }
    for (int k = 0; k < kChannels; ++k) {
        if (!m_strips[k].m_lampPlay.Create(ToPoint(layout.playLampPoint[k]), this, IDC_LAMP, IDB_LAMP_PLAY_IDLE,
                                           IDB_LAMP_PLAY_IDLE, IDB_LAMP_PLAY_IDLE, IDB_LAMP_PLAY_IDLE)) {
            return false;
        }
    }
    for (int k = 0; k < kRecordStreams; ++k) {
        if (!m_strips[k].m_lampRec.Create(ToPoint(layout.recLampPoint[k]), this, IDC_LAMP, IDB_LAMP_REC_IDLE,
                                          IDB_LAMP_REC_IDLE, IDB_LAMP_REC_IDLE, IDB_LAMP_REC_IDLE)) {
            return false;
        }
    }
    return true;
}

bool CWaveSettingsDialog::CreateButtons() {
    const CPanelLayout& layout = *m_pLayout;
    struct ButtonSpec {
        CSkinButton* button;
        LayoutPoint point;
        UINT id, offUp, onUp, offDown, onDown;
        const char* name;  // what the face says, for accessibility clients
    };
    const ButtonSpec buttons[] = {
        {&m_btnOK, layout.okPoint, IDC_BTN_OK, IDB_OK, IDB_OK, IDB_OK_DOWN, IDB_OK_DOWN, "OK"},
        {&m_btnHelp, layout.helpPoint, IDC_BTN_HELP, IDB_HELP, IDB_HELP, IDB_HELP_DOWN, IDB_HELP_DOWN, "Help"},
        {&m_btnSaveDefaults, layout.saveDefaultsPoint, IDC_BTN_SAVE_DEFAULTS, IDB_SAVE_DEFAULTS, IDB_SAVE_DEFAULTS,
         IDB_SAVE_DEFAULTS_DOWN, IDB_SAVE_DEFAULTS_DOWN, "Save as Defaults"},
        {&m_btnRetrieveDefaults, layout.retrieveDefaultsPoint, IDC_BTN_RETRIEVE_DEFAULTS, IDB_RETRIEVE_DEFAULTS,
         IDB_RETRIEVE_DEFAULTS, IDB_RETRIEVE_DEFAULTS_DOWN, IDB_RETRIEVE_DEFAULTS_DOWN, "Retrieve Defaults"},
        {&m_btnEnableAll, layout.enableAllPoint, IDC_BTN_ENABLE_ALL, IDB_ENABLE_ALL, IDB_ENABLE_ALL,
         IDB_ENABLE_ALL_DOWN, IDB_ENABLE_ALL_DOWN, "Enable All"},
        {&m_btnDisableAll, layout.disableAllPoint, IDC_BTN_DISABLE_ALL, IDB_DISABLE_ALL, IDB_DISABLE_ALL,
         IDB_DISABLE_ALL_DOWN, IDB_DISABLE_ALL_DOWN, "Disable All"},
        {&m_btnAutoSync, layout.autoSyncPoint, IDC_BTN_AUTO_SYNC, IDB_AUTO_SYNC_OFF_UP, IDB_AUTO_SYNC_ON_UP,
         IDB_AUTO_SYNC_OFF_DOWN, IDB_AUTO_SYNC_ON_DOWN, "Auto Sync"},
        {&m_btnCustomSync, layout.customPoint, IDC_BTN_CUSTOM_SYNC, IDB_CUSTOM, IDB_CUSTOM, IDB_CUSTOM_DOWN,
         IDB_CUSTOM_DOWN, "Custom Sync"},
        {&m_btnAudioSettings, layout.audioSettingsPoint, IDC_BTN_AUDIO_SETTINGS, IDB_AUDIO_SETTINGS,
         IDB_AUDIO_SETTINGS, IDB_AUDIO_SETTINGS_DOWN, IDB_AUDIO_SETTINGS_DOWN, "Audio Settings"},
        {&m_btnMeters, layout.metersPoint, IDC_BTN_METERS, IDB_METERS, IDB_METERS, IDB_METERS_DOWN,
         IDB_METERS_DOWN, "Hardware Meters"},
        {&m_btnDiagnostics, layout.diagnosticsPoint, IDC_BTN_DIAGNOSTICS, IDB_DIAGNOSTICS, IDB_DIAGNOSTICS,
         IDB_DIAGNOSTICS_DOWN, IDB_DIAGNOSTICS_DOWN, "Diagnostics"},
    };
    for (const ButtonSpec& b : buttons) {
        b.button->accessibleName = b.name;
        if (!b.button->Create(ToPoint(b.point), this, b.id, b.offUp, b.onUp, b.offDown, b.onDown)) return false;
    }
    m_btnAutoSync.accessibleRole = ROLE_SYSTEM_CHECKBUTTON;
    return true;
}

bool CWaveSettingsDialog::CreateDropLists() {
    const CPanelLayout& layout = *m_pLayout;
    m_lstClock.accessibleName = "Clock source";
    m_lstRate.accessibleName = "Sample rate";
    if (!m_lstClock.Create(ToPoint(layout.clockListPoint), this, IDC_LST_CLOCK, IDB_DROP,
                           IDB_DROP_DOWN, 4)) {
        return false;
    }
    for (UINT id : {IDS_CLOCK_INTERNAL, IDS_CLOCK_ADAT, IDS_CLOCK_SPDIF, IDS_CLOCK_WORD}) {
        m_lstClock.AddString(LoadResString(id).c_str());
    }
    if (!m_lstRate.Create(ToPoint(layout.rateListPoint), this, IDC_LST_RATE, IDB_DROP,
                          IDB_DROP_DOWN, 2)) {
        return false;
    }
    for (UINT id : {IDS_RATE_44100, IDS_RATE_48000}) {
        m_lstRate.AddString(LoadResString(id).c_str());
    }
    return true;
}

// Every strip control has a readout; the lamps of channels 6 to 9 have no record window.
void CWaveSettingsDialog::AddReadouts() {
    m_readouts.SetOwner(*this);
    for (CChannelStrip& strip : m_strips) {
        for (CWnd* control : strip.Controls()) {
            if (control->m_hWnd != nullptr) m_readouts.AddTool(*control);
        }
    }
}

BOOL CWaveSettingsDialog::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU menu = GetSystemMenu(FALSE)) {
        const std::string about = LoadResString(IDS_ABOUTBOX);
        if (!about.empty()) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
        // The window can be neither resized, moved, restored from the menu nor maximised.
        for (UINT command : {SC_SIZE, SC_MOVE, SC_RESTORE, SC_MAXIMIZE}) {
            ::EnableMenuItem(menu, command, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    return TRUE;
}

// Reading the card -------------------------------------------------------------

void CWaveSettingsDialog::RefreshFromDevice() {
    for (int k = 0; k < kChannels; ++k) {
        uint8_t flag = 0;
        if (!IsPanelFailure(m_pDevice->GetChannelControl(m_nCard, static_cast<uint16_t>(k), &flag))) {
            ShowSwitchState(m_strips[k].m_btnEnable, flag == 1 ? 1 : 0);
        }
    }

    uint8_t autoSync = 0;
    if (!IsPanelFailure(m_pDevice->GetAutoSync(m_nCard, &autoSync))) {
        ShowSwitchState(m_btnAutoSync, autoSync == 1 ? 1 : 0);
    }

    for (int k = 0; k < kChannels; ++k) {
        uint16_t left = 0;
        uint16_t right = 0;
        const bool read = !IsPanelFailure(m_pDevice->GetChannelLevels(m_nCard, static_cast<uint16_t>(k), &left, &right));
        m_strips[k].ShowFromCard(read, left, right);
    }

    uint32_t code = 0;
    if (!IsPanelFailure(m_pDevice->GetClockMode(m_nCard, &code))) {
        // The value too, not only the face: a pick is then compared with what the
        // card holds, and the change handler sends values, not highlights.
        // SetValue posts nothing, so the re-read sends nothing to the card.
        m_clockShown = SelectionFromClockMode(static_cast<uint16_t>(code));
        m_lstClock.SetValue(m_clockShown.clock);
        m_lstRate.SetValue(m_clockShown.rate);
    }

    StartLampTimer();
}

// The multimedia timer's library, with the libraries it brings, loads when the first
// timer starts. A user timer's message comes after every pending paint, so the
// panel shows whole first; the poll's first tick is a period away either way.
void CWaveSettingsDialog::StartLampTimer() {
    if (m_nLampTimer == 0) ::SetTimer(m_hWnd, kLampStartTimer, USER_TIMER_MINIMUM, nullptr);
    RefreshStreamLamps();
}

LRESULT CWaveSettingsDialog::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != kLampStartTimer) return Default();
    ::KillTimer(m_hWnd, kLampStartTimer);
    // A message posted before the window was minimised or hidden starts nothing.
    if (m_nLampTimer == 0 && !IsIconic() && ::IsWindowVisible(m_hWnd)) {
        // The poll runs on the timer's thread and reads through the device object
        // only, which outlives it. The timer carries the poll's key, which a tick
        // that comes after the kill finds stopped or gone.
        CCardControl* device = m_pDevice.get();
        const int32_t card = m_nCard;
        const auto read = [device, card](const std::atomic<bool>& cancelled) {
            return ReadStreamStates(*device, card, &cancelled);
        };
        m_lampPoll.Start(m_hWnd, read, std::chrono::milliseconds(lampPeriodMs / 2));
        m_nLampTimer = ::timeSetEvent(lampPeriodMs, kLampResolutionMs, LampTimerProc, m_lampPoll.Key(), TIME_PERIODIC);
    }
    return 0;
}

void CWaveSettingsDialog::StopLampTimer() {
    ::KillTimer(m_hWnd, kLampStartTimer);
    if (m_nLampTimer != 0) {
        ::timeKillEvent(m_nLampTimer);
        m_nLampTimer = 0;
    }
    // Waits for the lamp poll's request in flight at most.
    m_lampPoll.Stop();
}

// Nobody sees the lamps of a minimised or hidden window, so nothing polls them; the
// repaint that shows the window again reads them with the rest and restarts the poll.
LRESULT CWaveSettingsDialog::OnSize(WPARAM wParam, LPARAM lParam) {
    if (wParam == SIZE_MINIMIZED) StopLampTimer();
    return CDialog::OnSize(wParam, lParam);
}

LRESULT CWaveSettingsDialog::OnShowWindow(WPARAM wParam, LPARAM) {
    if (wParam == FALSE) StopLampTimer();
    return Default();
}

void CWaveSettingsDialog::RefreshStreamLamps() {
    const StreamStates states = ReadStreamStates(*m_pDevice, m_nCard);
    // A poll begun before this read would bring older states.
    m_lampPoll.Discard();
    ShowStreamStates(states);
}

void CWaveSettingsDialog::ShowStreamStates(const StreamStates& states) {
    for (int k = 0; k < kPlaybackStreams; ++k) {
        if (states.playbackRead[k]) m_strips[k].ShowPlayState(states.playback[k]);
    }
    for (int k = 0; k < kRecordStreams; ++k) {
        if (states.recordRead[k]) m_strips[k].ShowRecordState(states.record[k]);
    }
}

void CALLBACK CWaveSettingsDialog::LampTimerProc(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    CPollJob::Tick(user, timerId);
}

LRESULT CWaveSettingsDialog::OnLampTick(WPARAM, LPARAM) {
    StreamStates states;
    if (m_lampPoll.Take(states)) ShowStreamStates(states);
    return 0;
}

// Painting ---------------------------------------------------------------------

LRESULT CWaveSettingsDialog::OnPaint(WPARAM, LPARAM) {
    if (IsIconic()) {
        PaintIcon();
        return 0;
    }
    CPaintDC dc(m_hWnd);
    PaintPanel(dc);
    RefreshFromDevice();
    return 0;
}

void CWaveSettingsDialog::PaintIcon() {
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cx = ::GetSystemMetrics(SM_CXICON);
    const int cy = ::GetSystemMetrics(SM_CYICON);
    RECT client{};
    GetClientRect(&client);
    const int x = (client.right - client.left - cx + 1) / 2;
    const int y = (client.bottom - client.top - cy + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

void CWaveSettingsDialog::PaintPanel(CDC& dc) const {
    const CPanelLayout& layout = *m_pLayout;

    // Tiles overlap by 4 rows: the tile is 80 high and the rows 76 apart.
    TileBackground(&dc, layout.tileWidth, layout.tileHeight, layout.tileStepX, layout.tileStepY);

    for (int k : kFrameOrder) DrawSunkenFrame(&dc, ToRect(layout.stripFrame[k]));
    DrawSunkenFrame(&dc, ToRect(layout.syncFrame));
    DrawSunkenFrame(&dc, ToRect(layout.clockFrame));
    DrawSunkenFrame(&dc, ToRect(layout.controlFrame));

    CBkModeScope transparent(dc, TRANSPARENT);
    CSelectObject font(dc, g_panelFont);
    for (const PanelText& text : m_texts) {
        RECT where = text.where;
        dc.DrawText(text.text.c_str(), -1, &where, 0);
    }
}

LRESULT CWaveSettingsDialog::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT CWaveSettingsDialog::OnDestroy(WPARAM, LPARAM) {
    m_pDevice->SetLinkNotice(nullptr);
    StopLampTimer();
    if (CWinApp* app = CWinApp::Current()) app->WinHelp(0, HELP_QUIT);
    return Default();
}

// Readouts ---------------------------------------------------------------------

// The tips ask for their text each time they show it, so it is always the value the
// control shows now; reading it sends nothing to the card.
LRESULT CWaveSettingsDialog::OnNotify(WPARAM, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case TTN_GETDISPINFOA:
        m_readoutText = ReadoutOf(m_readouts.ControlOf(*header));
        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = m_readoutText.data();
        return 0;
    case TTN_SHOW:
        return m_readouts.OnShow(*header);
    default:
        return Default();
    }
}

std::string CWaveSettingsDialog::ReadoutOf(HWND control) const {
    for (const CChannelStrip& strip : m_strips) {
        if (strip.Holds(control)) return strip.Readout(control);
    }
    return std::string();
}

void CWaveSettingsDialog::FollowDrag(const CWnd& control) {
    if (::GetCapture() == control.m_hWnd) m_readouts.Follow(control);
}

// Actions ----------------------------------------------------------------------

LRESULT CWaveSettingsDialog::OnUserNotify(WPARAM wParam, LPARAM lParam) {
    const UINT id = static_cast<UINT>(wParam);
    if (int k = ChannelOf(id, &ChannelIds::switchId); k >= 0) {
        OnChannelSwitch(k, lParam != 0, lParam == 0);
    } else if (int k = ChannelOf(id, &ChannelIds::faderId); k >= 0) {
        OnChannelVolume(k, static_cast<int>(lParam));
    } else if (int k = ChannelOf(id, &ChannelIds::knobId); k >= 0) {
        OnChannelBalance(k, static_cast<int>(lParam));
    } else {
        switch (id) {
        case IDC_BTN_OK: OnOK(); break;
        case IDC_BTN_HELP: OnHelpButton(); break;
        case IDC_BTN_ENABLE_ALL: OnEnableAll(); break;
        case IDC_BTN_DISABLE_ALL: OnDisableAll(); break;
        case IDC_BTN_SAVE_DEFAULTS: OnSaveDefaults(); break;
        case IDC_BTN_RETRIEVE_DEFAULTS: OnRetrieveDefaults(); break;
        case IDC_BTN_AUTO_SYNC: OnAutoSync(lParam != 0); break;
        case IDC_BTN_CUSTOM_SYNC: OnCustomSync(); break;
        case IDC_BTN_AUDIO_SETTINGS: OnAudioSettings(); break;
        case IDC_BTN_DIAGNOSTICS: OnDiagnostics(); break;
        case IDC_BTN_METERS: OnMeters(); break;
        default: break;  // the lamps (id 100) among others
        }
    }
    return 0;
}

// The switch already shows the new state; the strip follows once the card has taken it.
void CWaveSettingsDialog::OnChannelSwitch(int channel, bool on, bool wasOn) {
    CChannelStrip& strip = m_strips[channel];
    // No levels are sent either way: the card keeps the channel's stored levels.
    if (!IsChangeTaken(m_pDevice->SetChannelControl(m_nCard, static_cast<uint16_t>(channel), on ? 1 : 0))) {
        ShowChannelFromCard(channel, wasOn);
        return;
    }
    if (on) {
        strip.ShowWorking();
        ReadChannelLevels(channel);
    } else {
        strip.ShowSwitchedOff();
    }
}

// After a refused switch: the card's flag and levels, or the switch as it was when
// the card cannot be read either (the strip has not followed it yet).
void CWaveSettingsDialog::ShowChannelFromCard(int channel, bool wasOn) {
    CChannelStrip& strip = m_strips[channel];
    const auto ch = static_cast<uint16_t>(channel);
    uint8_t flag = 0;
    if (IsPanelFailure(m_pDevice->GetChannelControl(m_nCard, ch, &flag))) {
        ShowSwitchState(strip.m_btnEnable, wasOn ? 1 : 0);
        return;
    }
    ShowSwitchState(strip.m_btnEnable, flag == 1 ? 1 : 0);
    uint16_t left = 0;
    uint16_t right = 0;
    const bool read = !IsPanelFailure(m_pDevice->GetChannelLevels(m_nCard, ch, &left, &right));
    strip.ShowFromCard(read, left, right);
}

// A strip switched on still shows full level and centre balance; the next move
// would send those. Reading the card's levels first keeps what the user had set.
bool CWaveSettingsDialog::ReadChannelLevels(int channel) {
    uint16_t left = 0;
    uint16_t right = 0;
    if (IsPanelFailure(m_pDevice->GetChannelLevels(m_nCard, static_cast<uint16_t>(channel), &left, &right))) {
        return false;
    }
    m_strips[channel].ShowLevels(left, right);
    return true;
}

// An off strip shows placeholders, not the card's levels; the knob still notifies
// its double-click reset there, which must not overwrite what the card keeps.
void CWaveSettingsDialog::OnChannelVolume(int channel, int volume) {
    m_strips[channel].RaiseAccessibleChanges();
    if (!m_strips[channel].IsOn()) return;
    FollowDrag(m_strips[channel].m_fader);
    const int balance = m_strips[channel].m_knob.GetValue();
    SendChannelLevels(channel, LevelsFromVolumeBalance(static_cast<uint16_t>(volume), static_cast<uint16_t>(balance)));
}

void CWaveSettingsDialog::OnChannelBalance(int channel, int balance) {
    m_strips[channel].RaiseAccessibleChanges();
    if (!m_strips[channel].IsOn()) return;
    FollowDrag(m_strips[channel].m_knob);
    const int volume = m_strips[channel].m_fader.value;
    SendChannelLevels(channel, LevelsFromVolumeBalance(static_cast<uint16_t>(volume), static_cast<uint16_t>(balance)));
}

// A refusal shows the card's levels again, or, when they cannot be read, what the
// strip showed before the move.
void CWaveSettingsDialog::SendChannelLevels(int channel, const Levels& levels) {
    CChannelStrip& strip = m_strips[channel];
    if (IsChangeTaken(m_pDevice->SetChannelLevels(m_nCard, static_cast<uint16_t>(channel), levels.left, levels.right))) {
        strip.KeepShownLevels();
    } else if (!ReadChannelLevels(channel)) {
        strip.ShowKeptLevels();
    }
}

void CWaveSettingsDialog::OnHelpButton() {
    if (CWinApp* app = CWinApp::Current()) app->OnHelp();
}

// Each switch is set as a click on it would set it.
void CWaveSettingsDialog::OnEnableAll() {
    for (int k = 0; k < kChannels; ++k) {
        const bool wasOn = m_strips[k].IsOn();
        ShowSwitchState(m_strips[k].m_btnEnable, 1);
        OnChannelSwitch(k, true, wasOn);
    }
}

void CWaveSettingsDialog::OnDisableAll() {
    for (int k = 0; k < kChannels; ++k) {
        const bool wasOn = m_strips[k].IsOn();
        ShowSwitchState(m_strips[k].m_btnEnable, 0);
        OnChannelSwitch(k, false, wasOn);
    }
}

void CWaveSettingsDialog::OnSaveDefaults() { m_pDevice->SaveDefaults(m_nCard); }

void CWaveSettingsDialog::OnRetrieveDefaults() {
    m_pDevice->RetrieveDefaults(m_nCard);
    uint32_t word = 0;
    m_pDevice->ReadDefaultsWord(m_nCard, &word);
    RefreshFromDevice();
}

// The switch already shows the new state; a refusal shows the card's, or the old one
// when the card cannot be read.
void CWaveSettingsDialog::OnAutoSync(bool on) {
    if (IsChangeTaken(m_pDevice->SetAutoSync(m_nCard, on ? 1 : 0))) return;
    uint8_t flag = 0;
    const bool read = !IsPanelFailure(m_pDevice->GetAutoSync(m_nCard, &flag));
    ShowSwitchState(m_btnAutoSync, read ? (flag == 1 ? 1 : 0) : (on ? 0 : 1));
}

void CWaveSettingsDialog::OnCustomSync() {
    if (m_btnAutoSync.state == 1) {
        const std::string text = LoadResString(IDS_AUTO_SYNC_REFUSAL);
        const std::string caption = LoadResString(IDS_CUSTOM_SYNC_TITLE);
        ::MessageBoxA(m_hWnd, text.c_str(), caption.c_str(), 0);
        return;
    }
    CCustomSyncDialog dialog(m_pDevice.get(), m_nCard);
    m_pOpenWindow = &dialog;
    dialog.DoModal();
    m_pOpenWindow = nullptr;
}

void CWaveSettingsDialog::OnAudioSettings() {
    bool started = false;
    m_pDevice->LaunchAudioSettings(m_nCard, LoadResString(IDS_AUDIO_SETTINGS_TITLE).c_str(), &started);
    if (!started) ReportNotStarted(CCardControl::kAudioSettingsProgram);
}

void CWaveSettingsDialog::OnDiagnostics() {
    CDiagnosticsDialog dialog(m_pDevice.get(), m_nCard);
    m_pOpenWindow = &dialog;
    dialog.DoModal();
    m_pOpenWindow = nullptr;
    RefreshFromDevice();
}

// The command line is the program's name and a blank, with nothing after it.
void CWaveSettingsDialog::OnMeters() {
    if (!LaunchProgram((std::string(kMetersProgram) + " ").c_str())) ReportNotStarted(kMetersProgram);
}

// A sibling program that is not installed would otherwise leave its button doing nothing.
void CWaveSettingsDialog::ReportNotStarted(const char* program) {
    const std::string text = std::string("Could not start ") + program + ".";
    ::MessageBoxA(m_hWnd, text.c_str(), GetWindowText().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CWaveSettingsDialog::OnAboutBox() {
    CAboutBox about;
    about.DoModal();
}

// The drop-downs post their change; either one sends both lists' values, the
// choices they hold, never a highlight, which only shows an item.
BOOL CWaveSettingsDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const BOOL handled = CDialog::OnCommand(wParam, lParam);
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == 1 && (id == IDC_LST_CLOCK || id == IDC_LST_RATE)) {
        const auto clock = static_cast<uint16_t>(m_lstClock.GetValue());
        const auto rate = static_cast<uint16_t>(m_lstRate.GetValue());
        if (IsChangeTaken(m_pDevice->SetClockMode(m_nCard, ClockModeFromSelection(clock, rate)))) {
            m_clockShown = {clock, rate};
        } else {
            ShowClockFromCard();
        }
    }
    return handled;
}

// After a refused pick: the card's clock, or the lists as they were when the card
// cannot be read. SetValue posts nothing, so this sends nothing more.
void CWaveSettingsDialog::ShowClockFromCard() {
    uint32_t code = 0;
    if (!IsPanelFailure(m_pDevice->GetClockMode(m_nCard, &code))) {
        m_clockShown = SelectionFromClockMode(static_cast<uint16_t>(code));
    }
    m_lstClock.SetValue(m_clockShown.clock);
    m_lstRate.SetValue(m_clockShown.rate);
}

LRESULT CWaveSettingsDialog::OnSysCommand(WPARAM wParam, LPARAM) {
    if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        OnAboutBox();
        return 0;
    }
    return Default();
}

// The card going and coming back ---------------------------------------------------

// The device object builds its link again, at most once per lamp period, when the
// driver has gone (stopped, or the card removed), and says so here. The polls find
// the link gone; their ticks come a period apart only to the timer's resolution, and
// an interval of a whole period would let every other tick pass without a build.
void CWaveSettingsDialog::ListenToCardLink() {
    HWND window = m_hWnd;
    m_pDevice->SetReopenInterval(lampPeriodMs - std::min(kLampResolutionMs, lampPeriodMs / 4));
    m_pDevice->SetLinkNotice([window](CCardControl::LinkEvent event) {
        ::PostMessageA(window, kCardLinkMessage, static_cast<WPARAM>(event), 0);
    });
}

LRESULT CWaveSettingsDialog::OnCardLink(WPARAM wParam, LPARAM) {
    if (static_cast<CCardControl::LinkEvent>(wParam) == CCardControl::LinkEvent::kGone) {
        ShowLampsIdle();
    } else {
        FollowLastCard();
        RereadEverything();
    }
    return 0;
}

// No stream runs on a card that is gone; a poll under way would bring older states.
void CWaveSettingsDialog::ShowLampsIdle() {
    m_lampPoll.Discard();
    StreamStates idle;
    std::fill(std::begin(idle.playbackRead), std::end(idle.playbackRead), true);
    std::fill(std::begin(idle.recordRead), std::end(idle.recordRead), true);
    ShowStreamStates(idle);
}

// The window works on the last card of the new link's table. Should that be another
// index, the window on top, which works on the old one, closes, and the lamp poll
// starts again on the new one.
void CWaveSettingsDialog::FollowLastCard() {
    const int32_t card = static_cast<int32_t>(m_pDevice->GetCardCount()) - 1;
    if (card == m_nCard) return;
    m_nCard = card;
    if (m_pOpenWindow != nullptr) m_pOpenWindow->EndDialog(IDCANCEL);
    StopLampTimer();
}

// Reads the card into this window at once (which polls the lamps too), and into the
// window on top when it repaints; a control moved meanwhile shows the card's value.
// A minimised window polls nothing: the repaint that shows it again reads the card.
void CWaveSettingsDialog::RereadEverything() {
    if (!IsIconic()) RefreshFromDevice();
    if (m_pOpenWindow != nullptr) m_pOpenWindow->Invalidate(TRUE);
}

// After sleep the card may have been reset, or its driver loaded again.
LRESULT CWaveSettingsDialog::OnPowerBroadcast(WPARAM wParam, LPARAM) {
    if (wParam == PBT_APMRESUMEAUTOMATIC) RereadEverything();
    return TRUE;
}
