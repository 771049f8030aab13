#pragma once
// What the readouts (tooltips and accessible values) say about a channel's controls.
#include <cstdint>
#include <string>

// A level in dB relative to full scale (65535), one decimal: "-6.0", "0.0", "-inf" at 0.
// A level that rounds to 0.0 reads "0.0", never "-0.0".
std::string DecibelNumber(uint16_t level);
// The same followed by " dB": "-6.0 dB".
std::string DecibelText(uint16_t level);

// "<name>: <level> dB" for the volume a fader shows (the louder side).
std::string FaderReadout(const std::string& name, uint16_t volume);
// "<name> balance: " and the balance text below.
std::string KnobReadout(const std::string& name, uint16_t volume, uint16_t balance);
// The balance alone: "L <x> dB, R <y> dB" from the balance law at the strip's
// volume; when both sides come out equal, "centre" at 64 and otherwise the knob's
// own position, "2 left of centre" (62), "63 right of centre" (127).
std::string BalanceText(uint16_t volume, uint16_t balance);

// A client's text for a level: what a fader says ("-6.0 dB", "-inf dB") or a plain
// number of dB ("-6", "-6.0"), naming silence or a level from 1 to 65535. False for
// any other text, a number above full scale and one below the quietest level.
bool LevelFromText(const std::string& text, uint16_t* level);
// A client's text for a balance at volume, in a form the balance text takes:
// "centre", a position ("2 left of centre"), or both sides ("L 0.0 dB, R -6.0 dB",
// the louder being the volume), which gives the balance whose levels lie nearest.
bool BalanceFromText(const std::string& text, uint16_t volume, uint16_t* balance);
// "<name>: on" or "<name>: off".
std::string SwitchReadout(const std::string& name, bool on);

// A stream's state in a word: "idle", "open" or "running".
const char* StreamStateWord(uint32_t state);
// "<name> playback: running", "<name> record: idle".
std::string LampReadout(const std::string& name, bool record, uint32_t state);
