#include "panel/ReadoutText.h"

#include <cmath>
#include <cstdio>

#include "panel/PanelLaws.h"

namespace {

constexpr double kFullLevel = 65535.0;
constexpr uint16_t kCentre = 64;

std::string PositionText(uint16_t balance) {
    if (balance < kCentre) return std::to_string(kCentre - balance) + " left of centre";
    return std::to_string(balance - kCentre) + " right of centre";
}

}  // namespace

std::string DecibelNumber(uint16_t level) {
    if (level == 0) return "-inf";
    const double tenths = std::round(200.0 * std::log10(level / kFullLevel));
    // Levels just under full scale round to zero; "-0.0" would read as a fault.
    const double db = tenths == 0.0 ? 0.0 : tenths / 10.0;
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", db);
    return text;
}

std::string DecibelText(uint16_t level) { return DecibelNumber(level) + " dB"; }

std::string FaderReadout(const std::string& name, uint16_t volume) { return name + ": " + DecibelText(volume); }

std::string BalanceText(uint16_t volume, uint16_t balance) {
    const Levels levels = LevelsFromVolumeBalance(volume, balance);
    if (levels.left != levels.right) return "L " + DecibelText(levels.left) + ", R " + DecibelText(levels.right);
    // Equal sides say nothing of where the knob stands (in the dead zone, or at low volume).
    return balance == kCentre ? "centre" : PositionText(balance);
}

std::string KnobReadout(const std::string& name, uint16_t volume, uint16_t balance) {
    return name + " balance: " + BalanceText(volume, balance);
}

std::string SwitchReadout(const std::string& name, bool on) { return name + (on ? ": on" : ": off"); }

const char* StreamStateWord(uint32_t state) {
    switch (StreamActivityOf(state)) {
    case StreamActivity::kOpen: return "open";
    case StreamActivity::kRunning: return "running";
    default: return "idle";
    }
}

std::string LampReadout(const std::string& name, bool record, uint32_t state) {
    return name + (record ? " record: " : " playback: ") + StreamStateWord(state);
}
