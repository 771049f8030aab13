#include "windows/CustomSyncDialog.h"

#include <string>

#include "controls/PanelFont.h"
#include "controls/SkinDialogBaseUnits.h"
#include "controls/SunkenFrame.h"
#include "controls/WindowPainting.h"
#include "device/Status.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

constexpr uint32_t kRecord = 0;
constexpr uint32_t kPlayback = 1;

struct StreamIds {
    UINT header, recordId, playbackId;  // recordId 0: playback-only stream
};

// Index = stream index of the synchronization requests.
constexpr StreamIds kStreamIds[CCustomSyncDialog::kStreams] = {
    {IDS_ANALOG, IDC_SYNC_REC_ANALOG, IDC_SYNC_PLAY_ANALOG},
    {IDS_SPDIF, IDC_SYNC_REC_SPDIF, IDC_SYNC_PLAY_SPDIF},
    {IDS_ADAT12, IDC_SYNC_REC_ADAT12, IDC_SYNC_PLAY_ADAT12},
    {IDS_ADAT34, IDC_SYNC_REC_ADAT34, IDC_SYNC_PLAY_ADAT34},
    {IDS_ADAT56, IDC_SYNC_REC_ADAT56, IDC_SYNC_PLAY_ADAT56},
    {IDS_ADAT78, IDC_SYNC_REC_ADAT78, IDC_SYNC_PLAY_ADAT78},
    {IDS_STREAM12, 0, IDC_SYNC_PLAY_STREAM12},
    {IDS_STREAM34, 0, IDC_SYNC_PLAY_STREAM34},
    {IDS_STREAM56, 0, IDC_SYNC_PLAY_STREAM56},
    {IDS_STREAM78, 0, IDC_SYNC_PLAY_STREAM78},
};

// Frames and headers are drawn with the ADAT columns first.
constexpr int kPaintOrder[CCustomSyncDialog::kStreams] = {2, 3, 4, 5, 0, 1, 6, 7, 8, 9};

std::unique_ptr<CSyncLayout> LayoutForBaseUnits() {
    const LONG units = SkinDialogBaseUnits();
    return std::make_unique<CSyncLayout>(LOWORD(units), HIWORD(units));
}

}  // namespace

BEGIN_MESSAGE_MAP(CCustomSyncDialog, CDialog)
    ON_MESSAGE(WM_CREATE, CCustomSyncDialog::OnCreate)
    ON_MESSAGE(WM_PAINT, CCustomSyncDialog::OnPaint)
    ON_MESSAGE(WM_USER, CCustomSyncDialog::OnUserNotify)
END_MESSAGE_MAP()

CCustomSyncDialog::CCustomSyncDialog(CCardControl* device, int32_t card, CWnd* parent)
    : CDialog(IDD_CUSTOMSYNC, parent),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_APP))),
      m_pDevice(device),
      m_nCard(card),
      m_pLayout(LayoutForBaseUnits()) {}

CCustomSyncDialog::~CCustomSyncDialog() = default;

LRESULT CCustomSyncDialog::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) return -1;
    SetWindowText(LoadResString(IDS_CUSTOM_SYNC_TITLE).c_str());
    return CreateButtons() ? 0 : -1;
}

bool CCustomSyncDialog::CreateButtons() {
    const CSyncLayout& l = *m_pLayout;
    DescribeButtons();
    if (!m_btnOK.Create(ToPoint(l.okPoint), this, IDC_SYNC_OK, IDB_OK, IDB_OK, IDB_OK_DOWN, IDB_OK_DOWN))
        return false;
    for (int i = 0; i < kRecordStreams; ++i) {
        if (!m_channels[i].record.Create(ToPoint(l.recordSwitch[i]), this, kStreamIds[i].recordId,
                                         IDB_SYNC_REC_OFF_UP, IDB_SYNC_REC_ON_UP, IDB_SYNC_REC_OFF_DOWN,
                                         IDB_SYNC_REC_ON_DOWN))
            return false;
        if (!m_channels[i].playback.Create(ToPoint(l.playbackSwitch[i]), this, kStreamIds[i].playbackId,
                                           IDB_SYNC_PLAY_OFF_UP, IDB_SYNC_PLAY_ON_UP, IDB_SYNC_PLAY_OFF_DOWN,
                                           IDB_SYNC_PLAY_ON_DOWN))
            return false;
    }
    for (int i = kRecordStreams; i < kStreams; ++i) {
        if (!m_channels[i].playback.Create(ToPoint(l.playbackSwitch[i]), this, kStreamIds[i].playbackId,
                                           IDB_SYNC_PLAY_OFF_UP, IDB_SYNC_PLAY_ON_UP, IDB_SYNC_PLAY_OFF_DOWN,
                                           IDB_SYNC_PLAY_ON_DOWN))
            return false;
    }
    struct GroupButton {
        CSkinButton* button;
        LayoutPoint at;
        UINT id, face, faceDown;
    };
    const GroupButton groupButtons[4] = {
        {&m_btnRecordAllOn, l.recordGroup.enableAllPoint, IDC_SYNC_RECORD_ALL_ON, IDB_ENABLE_ALL,
         IDB_ENABLE_ALL_DOWN},
        {&m_btnRecordAllOff, l.recordGroup.disableAllPoint, IDC_SYNC_RECORD_ALL_OFF, IDB_DISABLE_ALL,
         IDB_DISABLE_ALL_DOWN},
        {&m_btnPlaybackAllOn, l.playbackGroup.enableAllPoint, IDC_SYNC_PLAYBACK_ALL_ON, IDB_ENABLE_ALL,
         IDB_ENABLE_ALL_DOWN},
        {&m_btnPlaybackAllOff, l.playbackGroup.disableAllPoint, IDC_SYNC_PLAYBACK_ALL_OFF, IDB_DISABLE_ALL,
         IDB_DISABLE_ALL_DOWN},
    };
    for (const GroupButton& b : groupButtons) {
        if (!b.button->Create(ToPoint(b.at), this, b.id, b.face, b.face, b.faceDown, b.faceDown)) return false;
    }
    return true;
}

// Names for accessibility clients: the switches by stream and direction, the group
// buttons by their group's caption and face.
void CCustomSyncDialog::DescribeButtons() {
    m_btnOK.accessibleName = "OK";
    for (int i = 0; i < kStreams; ++i) {
        const std::string stream = LoadResString(kStreamIds[i].header);
        for (CSkinButton* sw : {&m_channels[i].record, &m_channels[i].playback}) {
            sw->accessibleRole = ROLE_SYSTEM_CHECKBUTTON;
        }
        m_channels[i].record.accessibleName = stream + " sync record";
        m_channels[i].playback.accessibleName = stream + " sync playback";
    }
    const std::string record = LoadResString(IDS_SYNC_RECORD);
    const std::string playback = LoadResString(IDS_SYNC_PLAYBACK);
    m_btnRecordAllOn.accessibleName = record + " Enable All";
    m_btnRecordAllOff.accessibleName = record + " Disable All";
    m_btnPlaybackAllOn.accessibleName = playback + " Enable All";
    m_btnPlaybackAllOff.accessibleName = playback + " Disable All";
}

BOOL CCustomSyncDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    return TRUE;
}

LRESULT CCustomSyncDialog::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    PaintWindow(dc);
    RefreshSwitches();
    return 0;
}

void CCustomSyncDialog::PaintWindow(CDC& dc) const {
    const CSyncLayout& l = *m_pLayout;
    TileBackground(&dc, l.tileWidth, l.tileHeight, l.tileStepX, l.tileStepY);
    for (int column : kPaintOrder) DrawSunkenFrame(&dc, ToRect(l.columnFrame[column]));
    DrawSunkenFrame(&dc, ToRect(l.recordGroup.frame));
    DrawSunkenFrame(&dc, ToRect(l.playbackGroup.frame));

    CBkModeScope transparent(dc, TRANSPARENT);
    CSelectObject font(dc, g_panelFont);
    DrawResString(dc, IDS_SYNC_RECORD, ToRect(l.recordGroup.text));
    DrawResString(dc, IDS_SYNC_PLAYBACK, ToRect(l.playbackGroup.text));
    for (int column : kPaintOrder) DrawResString(dc, kStreamIds[column].header, ToRect(l.headerText[column]));
}

bool CCustomSyncDialog::ReadSwitch(uint32_t direction, uint16_t stream, int* state) const {
    uint8_t flag = 0;
    const bool read = !IsPanelFailure(m_pDevice->GetStreamSync(m_nCard, direction, stream, &flag));
    *state = read && flag == 1 ? 1 : 0;
    return read;
}

// A flag the card did not deliver (the call failed) shows as off: a switch lit
// without the card saying so would claim a synchronization that may not exist.
void CCustomSyncDialog::RefreshSwitches() {
    for (int i = 0; i < kStreams; ++i) {
        const uint16_t stream = static_cast<uint16_t>(i);
        int state = 0;
        if (i < kRecordStreams) {
            ReadSwitch(kRecord, stream, &state);
            m_channels[i].record.ShowState(state);
        }
        ReadSwitch(kPlayback, stream, &state);
        m_channels[i].playback.ShowState(state);
    }
}

LRESULT CCustomSyncDialog::OnUserNotify(WPARAM wParam, LPARAM lParam) {
    const int flag = lParam != 0 ? 1 : 0;
    for (int i = 0; i < kStreams; ++i) {
        const uint16_t stream = static_cast<uint16_t>(i);
        if (kStreamIds[i].recordId != 0 && wParam == kStreamIds[i].recordId) {
            return SendSwitch(m_channels[i].record, kRecord, stream, flag, 1 - flag);
        }
        if (wParam == kStreamIds[i].playbackId) {
            return SendSwitch(m_channels[i].playback, kPlayback, stream, flag, 1 - flag);
        }
    }
    switch (wParam) {
    case IDC_SYNC_RECORD_ALL_ON: return SetGroup(kRecord, 1);
    case IDC_SYNC_RECORD_ALL_OFF: return SetGroup(kRecord, 0);
    case IDC_SYNC_PLAYBACK_ALL_ON: return SetGroup(kPlayback, 1);
    case IDC_SYNC_PLAYBACK_ALL_OFF: return SetGroup(kPlayback, 0);
    case IDC_SYNC_OK: OnOK(); return 0;
    default: return 0;
    }
}

// Each switch shows its new state before its request goes out.
int32_t CCustomSyncDialog::SetGroup(uint32_t direction, int flag) {
    const int count = direction == kRecord ? kRecordStreams : kStreams;
    int32_t status = 0;
    for (int i = 0; i < count; ++i) {
        CSkinButton& sw = direction == kRecord ? m_channels[i].record : m_channels[i].playback;
        const int before = sw.state;
        sw.ShowState(flag);
        status = SendSwitch(sw, direction, static_cast<uint16_t>(i), flag, before);
    }
    return status;
}

// The switch already shows flag. A change the card refused shows the card's state
// again, or the state before when the card cannot be read either.
int32_t CCustomSyncDialog::SendSwitch(CSkinButton& sw, uint32_t direction, uint16_t stream, int flag, int before) {
    const int32_t status = m_pDevice->SetStreamSync(m_nCard, direction, stream, static_cast<uint32_t>(flag));
    if (IsChangeTaken(status)) return status;
    int held = 0;
    sw.ShowState(ReadSwitch(direction, stream, &held) ? held : before);
    return status;
}
