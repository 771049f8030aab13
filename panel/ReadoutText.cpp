#include "panel/ReadoutText.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "panel/PanelLaws.h"

namespace {

constexpr double kFullLevel = 65535.0;
constexpr char kLeftOfCentre[] = " left of centre";
constexpr char kRightOfCentre[] = " right of centre";

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool SameLetters(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// Takes suffix off the end of text when text ends with it, in any case.
bool TakeSuffix(std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size() || !SameLetters(text.substr(text.size() - suffix.size()), suffix)) return false;
    text.resize(text.size() - suffix.size());
    return true;
}

// Takes prefix off the front of text when text starts with it, in any case.
bool TakePrefix(std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size() || !SameLetters(text.substr(0, prefix.size()), prefix)) return false;
    text.erase(0, prefix.size());
    return true;
}

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// A sign, digits and a fraction, as the readouts write numbers: "-6", "+0.5", "12.25".
bool IsDecimal(const std::string& text) {
    std::string rest = text;
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) rest.erase(0, 1);
    const size_t point = rest.find('.');
    if (point == std::string::npos) return AllDigits(rest);
    return AllDigits(rest.substr(0, point)) && AllDigits(rest.substr(point + 1));
}

// Silence in dB, for comparisons: far below any level's.
constexpr double kSilenceDb = -1000.0;

double DecibelsOf(uint16_t level) { return level == 0 ? kSilenceDb : 20.0 * std::log10(level / kFullLevel); }

// "-6.0 dB", "-6", "-inf dB": a number of dB, or silence for "-inf".
bool DecibelsFromText(const std::string& text, double* db, bool* silence) {
    std::string number = Trimmed(text);
    if (TakeSuffix(number, "dB")) number = Trimmed(number);
    *silence = SameLetters(number, "-inf");
    if (*silence) {
        *db = kSilenceDb;
        return true;
    }
    if (!IsDecimal(number)) return false;
    *db = std::strtod(number.c_str(), nullptr);
    return true;
}

std::string PositionText(uint16_t balance) {
    if (balance < kCentreBalance) return std::to_string(kCentreBalance - balance) + kLeftOfCentre;
    return std::to_string(balance - kCentreBalance) + kRightOfCentre;
}

// "2 left of centre" and the like; false for another text or a step beyond the knob.
bool PositionFromText(std::string text, uint16_t* balance) {
    const bool left = TakeSuffix(text, kLeftOfCentre);
    if (!left && !TakeSuffix(text, kRightOfCentre)) return false;
    if (!AllDigits(text) || text.size() > 3) return false;
    const int steps = std::atoi(text.c_str());
    const int limit = left ? kCentreBalance : kMaxBalance - kCentreBalance;
    if (steps < 1 || steps > limit) return false;
    *balance = static_cast<uint16_t>(left ? kCentreBalance - steps : kCentreBalance + steps);
    return true;
}

// "L <level>, R <level>": the balance whose sides at volume lie nearest in dB, the
// one nearer the centre of two equally near. The louder side is the volume, which
// the knob cannot change.
bool BalanceFromSides(const std::string& text, uint16_t volume, uint16_t* balance) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    std::string leftText = Trimmed(text.substr(0, comma));
    std::string rightText = Trimmed(text.substr(comma + 1));
    uint16_t left = 0;
    uint16_t right = 0;
    if (!TakePrefix(leftText, "L ") || !LevelFromText(leftText, &left)) return false;
    if (!TakePrefix(rightText, "R ") || !LevelFromText(rightText, &right)) return false;
    if (DecibelNumber(left > right ? left : right) != DecibelNumber(volume)) return false;
    // The sides as given, not rounded to a level: at low levels a tenth of a dB
    // lies between two levels.
    double leftDb = 0.0;
    double rightDb = 0.0;
    bool silence = false;
    DecibelsFromText(leftText, &leftDb, &silence);
    DecibelsFromText(rightText, &rightDb, &silence);
    int nearest = -1;
    double best = 0.0;
    for (int b = 0; b <= kMaxBalance; ++b) {
        const Levels levels = LevelsFromVolumeBalance(volume, static_cast<uint16_t>(b));
        const double distance = std::fabs(DecibelsOf(levels.left) - leftDb) + std::fabs(DecibelsOf(levels.right) - rightDb);
        if (nearest < 0 || distance < best ||
            (distance == best && std::abs(b - kCentreBalance) < std::abs(nearest - kCentreBalance))) {
            nearest = b;
            best = distance;
        }
    }
    *balance = static_cast<uint16_t>(nearest);
    return true;
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
    return balance == kCentreBalance ? "centre" : PositionText(balance);
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

bool LevelFromText(const std::string& text, uint16_t* level) {
    double db = 0.0;
    bool silence = false;
    if (!DecibelsFromText(text, &db, &silence)) return false;
    if (silence) {
        *level = 0;
        return true;
    }
    const double rounded = std::round(kFullLevel * std::pow(10.0, db / 20.0));
    if (!(rounded >= 1.0 && rounded <= kFullLevel)) return false;
    *level = static_cast<uint16_t>(rounded);
    return true;
}

bool BalanceFromText(const std::string& text, uint16_t volume, uint16_t* balance) {
    const std::string trimmed = Trimmed(text);
    if (SameLetters(trimmed, "centre")) {
        *balance = kCentreBalance;
        return true;
    }
    return PositionFromText(trimmed, balance) || BalanceFromSides(trimmed, volume, balance);
}
