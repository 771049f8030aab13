#pragma once
// One channel's column of the main window: the level-control switch, the volume
// fader, the balance knob and the stream lamps, and the two looks of a strip.
#include <array>
#include <cstdint>
#include <string>

#include "controls/SkinButton.h"
#include "controls/SkinFader.h"
#include "controls/SkinKnob.h"

class CChannelStrip {
public:
    CSkinButton m_btnEnable;
    CSkinFader m_fader;
    CSkinKnob m_knob;
    CSkinButton m_lampPlay;
    CSkinButton m_lampRec;  // a window only on channels 0 to 5

    // Names the controls after the channel for accessibility clients and has them
    // report the levels in dB and the lamps' stream states, and take levels and
    // balances in the same forms; the readouts take the same name.
    void Describe(const std::string& channelName);
    // Tells accessibility clients what changed on the fader and the knob since they
    // were last told: their availability, the level, and the balance text, which
    // follows the level too. After every change of either, whoever made it.
    void RaiseAccessibleChanges();

    // Level control switched off: full level, centre balance, faded look, mouse ignored.
    void ShowSwitchedOff();
    // Level control switched on: the working look; the values stay as they are.
    void ShowWorking();
    // The card's levels on the fader (the larger) and the knob (their balance).
    void ShowLevels(uint16_t left, uint16_t right);
    // The fader and knob values now shown are the card's (a change of them was taken).
    void KeepShownLevels();
    // Back to the values last kept: a change the card refused and that cannot be read
    // back leaves the strip as it was before.
    void ShowKeptLevels();
    // Levels may be sent only while the switch says the channel is on.
    bool IsOn() const { return m_btnEnable.state == 1; }
    // The card's state after a read: the switch's flag, and the levels when it is on.
    // The fader and knob are repainted when their look changes, since neither a
    // value that stays the same nor a new skin repaints them by itself.
    void ShowFromCard(bool levelsRead, uint16_t left, uint16_t right);

    void ShowPlayState(uint32_t state);
    void ShowRecordState(uint32_t state);

    // The strip's five controls; the record lamp has no window on channels 6 to 9.
    std::array<CWnd*, 5> Controls();
    std::array<const CWnd*, 5> Controls() const;
    // Whether control is one of this strip's windows.
    bool Holds(HWND control) const;
    // The readout of one of the strip's controls as it shows now. An off strip's
    // fader and knob say what they show: full level, centre.
    std::string Readout(HWND control) const;

private:
    void SetLook(bool working);

    std::string m_name;          // the channel's, as drawn over the strip
    int m_keptVolume = 65535;    // the fader and knob values last known to be the card's
    int m_keptBalance = 64;
    uint32_t m_playState = 0;    // as last shown by the lamps
    uint32_t m_recordState = 0;
    // The fader's and the knob's values as accessibility clients were last told,
    // from what they show when created.
    int m_toldVolume = -1;
    int m_toldBalance = 64;
};
