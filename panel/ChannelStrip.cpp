#include "panel/ChannelStrip.h"

#include <algorithm>

#include "panel/PanelLaws.h"
#include "panel/ReadoutText.h"
#include "resources/resource.h"

namespace {

constexpr int kFullLevel = 65535;
constexpr COLORREF kWorkingPointer = RGB(12, 12, 12);
constexpr COLORREF kSwitchedOffPointer = RGB(160, 160, 160);

// The lamp picture for a stream state as the card reports it.
UINT LampBitmap(uint32_t state, UINT open, UINT running, UINT idle) {
    switch (StreamActivityOf(state)) {
    case StreamActivity::kOpen: return open;
    case StreamActivity::kRunning: return running;
    default: return idle;
    }
}

}  // namespace

void CChannelStrip::Describe(const std::string& channelName) {
    m_name = channelName;
    m_btnEnable.accessibleName = channelName + " control enable";
    m_btnEnable.accessibleRole = ROLE_SYSTEM_CHECKBUTTON;
    m_fader.accessibleName = channelName + " volume";
    m_fader.accessibleValue = [this] { return DecibelText(static_cast<uint16_t>(m_fader.value)); };
    m_fader.accessibleParse = [](const std::string& text, int* value) {
        uint16_t level = 0;
        if (!LevelFromText(text, &level)) return false;
        *value = level;
        return true;
    };
    m_knob.accessibleName = channelName + " balance";
    m_knob.accessibleValue = [this] {
        return BalanceText(static_cast<uint16_t>(m_fader.value), static_cast<uint16_t>(m_knob.GetValue()));
    };
    m_knob.accessibleParse = [this](const std::string& text, int* value) {
        uint16_t balance = 0;
        if (!BalanceFromText(text, static_cast<uint16_t>(m_fader.value), &balance)) return false;
        *value = balance;
        return true;
    };
    m_lampPlay.accessibleName = channelName + " playback";
    m_lampPlay.accessibleRole = ROLE_SYSTEM_INDICATOR;
    m_lampPlay.accessibleValue = [this] { return std::string(StreamStateWord(m_playState)); };
    m_lampRec.accessibleName = channelName + " record";
    m_lampRec.accessibleRole = ROLE_SYSTEM_INDICATOR;
    m_lampRec.accessibleValue = [this] { return std::string(StreamStateWord(m_recordState)); };
}

void CChannelStrip::RaiseAccessibleChanges() {
    m_fader.RaiseStateChange();
    m_knob.RaiseStateChange();
    const int volume = m_fader.value;
    const int balance = m_knob.GetValue();
    if (volume != m_toldVolume) m_fader.RaiseValueChange();
    // Off centre the knob's sides follow the level, unless they stay equal. Its texts
    // are compared only for someone who listens.
    const bool sidesMoved = volume != m_toldVolume && balance != kCentreBalance &&
                            ::IsWinEventHookInstalled(EVENT_OBJECT_VALUECHANGE) &&
                            BalanceText(static_cast<uint16_t>(m_toldVolume), static_cast<uint16_t>(balance)) !=
                                BalanceText(static_cast<uint16_t>(volume), static_cast<uint16_t>(balance));
    if (balance != m_toldBalance || sidesMoved) m_knob.RaiseValueChange();
    m_toldVolume = volume;
    m_toldBalance = balance;
}

void CChannelStrip::ShowSwitchedOff() {
    m_fader.SetValue(kFullLevel);
    m_fader.active = 0;
    m_knob.SetValueChanged(kCentreBalance);
    m_knob.active = 0;
    SetLook(false);
    m_fader.Invalidate(TRUE);
    m_knob.Invalidate(TRUE);
    KeepShownLevels();
    RaiseAccessibleChanges();
}

void CChannelStrip::ShowWorking() {
    m_fader.active = 1;
    m_knob.active = 1;
    SetLook(true);
    m_fader.Invalidate(TRUE);
    m_knob.Invalidate(TRUE);
    RaiseAccessibleChanges();
}

void CChannelStrip::ShowLevels(uint16_t left, uint16_t right) {
    m_fader.SetValue(std::max(left, right));
    m_knob.SetValueChanged(BalanceFromLevels(left, right));
    KeepShownLevels();
    RaiseAccessibleChanges();
}

void CChannelStrip::KeepShownLevels() {
    m_keptVolume = m_fader.value;
    m_keptBalance = m_knob.GetValue();
}

void CChannelStrip::ShowKeptLevels() {
    m_fader.SetValue(m_keptVolume);
    m_knob.SetValueChanged(m_keptBalance);
    RaiseAccessibleChanges();
}

void CChannelStrip::ShowFromCard(bool levelsRead, uint16_t left, uint16_t right) {
    const bool working = IsOn();
    const bool lookChanged = (m_fader.active == 1) != working;
    if (!working) {
        m_fader.SetValue(kFullLevel);
        m_fader.active = 0;
        m_knob.SetValueChanged(kCentreBalance);
        m_knob.active = 0;
    } else {
        // A failed read keeps what the strip showed before.
        if (levelsRead) ShowLevels(left, right);
        m_fader.active = 1;
        m_knob.active = 1;
    }
    SetLook(working);
    if (lookChanged) {
        m_fader.Invalidate(TRUE);
        m_knob.Invalidate(TRUE);
    }
    KeepShownLevels();
    RaiseAccessibleChanges();
}

void CChannelStrip::ShowPlayState(uint32_t state) {
    const bool changed = StreamActivityOf(state) != StreamActivityOf(m_playState);
    m_playState = state;
    const UINT bitmap = LampBitmap(state, IDB_LAMP_PLAY_OPEN, IDB_LAMP_PLAYING, IDB_LAMP_PLAY_IDLE);
    m_lampPlay.SetBitmaps(bitmap, bitmap, bitmap, bitmap);
    if (changed) m_lampPlay.RaiseValueChange();
}

void CChannelStrip::ShowRecordState(uint32_t state) {
    const bool changed = StreamActivityOf(state) != StreamActivityOf(m_recordState);
    m_recordState = state;
    const UINT bitmap = LampBitmap(state, IDB_LAMP_REC_OPEN, IDB_LAMP_RECORDING, IDB_LAMP_REC_IDLE);
    m_lampRec.SetBitmaps(bitmap, bitmap, bitmap, bitmap);
    if (changed) m_lampRec.RaiseValueChange();
}

std::array<CWnd*, 5> CChannelStrip::Controls() {
    return {&m_btnEnable, &m_fader, &m_knob, &m_lampPlay, &m_lampRec};
}

std::array<const CWnd*, 5> CChannelStrip::Controls() const {
    return {&m_btnEnable, &m_fader, &m_knob, &m_lampPlay, &m_lampRec};
}

bool CChannelStrip::Holds(HWND control) const {
    const auto own = Controls();
    return control != nullptr &&
           std::any_of(own.begin(), own.end(), [control](const CWnd* c) { return c->m_hWnd == control; });
}

std::string CChannelStrip::Readout(HWND control) const {
    const auto volume = static_cast<uint16_t>(m_fader.value);
    if (control == m_btnEnable.m_hWnd) return SwitchReadout(m_name, IsOn());
    if (control == m_fader.m_hWnd) return FaderReadout(m_name, volume);
    if (control == m_knob.m_hWnd) return KnobReadout(m_name, volume, static_cast<uint16_t>(m_knob.value));
    if (control == m_lampPlay.m_hWnd) return LampReadout(m_name, false, m_playState);
    if (control == m_lampRec.m_hWnd) return LampReadout(m_name, true, m_recordState);
    return std::string();
}

void CChannelStrip::SetLook(bool working) {
    if (working) {
        m_fader.SetBitmaps(IDB_FADER_TRACK, IDB_FADER_THUMB);
        m_knob.SetSkin(IDB_KNOB, kWorkingPointer);
    } else {
        m_fader.SetBitmaps(IDB_FADER_TRACK_OFF, IDB_FADER_THUMB_OFF);
        m_knob.SetSkin(IDB_KNOB_OFF, kSwitchedOffPointer);
    }
}
