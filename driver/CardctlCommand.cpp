#include "driver/CardctlCommand.h"

#include <cstring>

#include "device/Words.h"

namespace {

struct Args {
    int count;
    const char* const* values;
    const char* operator[](int i) const { return values[i]; }
};

bool Equal(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// The value of an ASCII digit in the given base, or -1: digits of other scripts,
// such as full-width ones, are not digits here.
int AsciiDigit(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one numeric argument within [lo, hi] or explains what is wrong with it.
// Only a driver status may be written as a negative number.
bool Number(const char* text, const char* what, uint32_t lo, uint32_t hi, uint32_t& value, std::string& error,
            bool negativeOk = false) {
    if ((text[0] == '-' && !negativeOk) || !ParseCardctlNumber(text, value)) {
        error = std::string(what) + " must be a number, not " + CardctlQuoted(text);
        return false;
    }
    if (value < lo || value > hi) {
        error = std::string(what) + " must be " + std::to_string(lo) + ".." + std::to_string(hi) + ", not " + text;
        return false;
    }
    return true;
}

bool OnOff(const char* text, uint32_t& flag, std::string& error) {
    if (Equal(text, "on")) flag = 1;
    else if (Equal(text, "off")) flag = 0;
    else {
        error = std::string("expected on or off, not ") + CardctlQuoted(text);
        return false;
    }
    return true;
}

// record/playback and a stream number in that direction's range.
bool Stream(const char* direction, const char* stream, uint32_t& dir, uint32_t& number, std::string& error) {
    if (Equal(direction, "record")) dir = 0;
    else if (Equal(direction, "playback")) dir = 1;
    else {
        error = std::string("expected record or playback, not ") + CardctlQuoted(direction);
        return false;
    }
    const uint32_t last = dir == 0 ? kVcRecordStreams - 1 : kVcPlaybackStreams - 1;
    return Number(stream, dir == 0 ? "record stream" : "playback stream", 0, last, number, error);
}

bool Card(const char* text, uint32_t& card, std::string& error) {
    return Number(text, "card", 0, kVcMaxCards - 1, card, error);
}

bool Arity(const Args& a, int wanted, const char* form, std::string& error) {
    if (a.count == wanted) return true;
    error = std::string("usage: cardctl ") + form;
    return false;
}

void Private(CardctlCommand& c, uint32_t code, uint32_t card, uint32_t index, uint32_t value) {
    c.action = CardctlAction::Private;
    c.code = code;
    c.request.card = card;
    c.request.index = index;
    c.request.value = value;
}

void Public(CardctlCommand& c, uint32_t code, uint32_t card) {
    c.action = CardctlAction::Public;
    c.code = code;
    PutWord32(c.frame, 4, card);
}

struct CardValueSetter {
    const char* name;
    uint32_t code;
    const char* what;
};

const CardValueSetter kCardValueSetters[] = {
    {"card-state", kVcSetCardState, "card state"},
    {"dma-status", kVcSetDmaStatus, "DMA status"},
    {"multi-playing", kVcSetMultiPlaying, "multi playing"},
    {"dma-errors", kVcSetDmaErrorCount, "DMA error count"},
    {"fpga-revision", kVcSetFpgaRevision, "FPGA revision"},
    {"clock-measurement", kVcSetClockMeasurement, "clock measurement"},
};

// set <what> ...: a[0] is "set", a[1] the thing to change.
bool ParseSet(const Args& a, CardctlCommand& c, std::string& error) {
    if (a.count < 2) {
        error = "usage: cardctl set <what> <args>; run cardctl without arguments for the list";
        return false;
    }
    const char* what = a[1];
    uint32_t card = 0, v1 = 0, v2 = 0, v3 = 0, v4 = 0;
    for (const CardValueSetter& s : kCardValueSetters) {
        if (!Equal(what, s.name)) continue;
        if (!Arity(a, 4, (std::string("set ") + s.name + " <card> <value>").c_str(), error)) return false;
        if (!Card(a[2], card, error) || !Number(a[3], s.what, 0, 0xFFFFFFFFu, v1, error)) return false;
        Private(c, s.code, card, 0, v1);
        return true;
    }
    if (Equal(what, "stream")) {
        if (!Arity(a, 6, "set stream <card> record|playback <stream> <state>", error)) return false;
        if (!Card(a[2], card, error) || !Stream(a[3], a[4], v1, v2, error) ||
            !Number(a[5], "stream state", 0, 0xFFFFFFFFu, v3, error))
            return false;
        Private(c, kVcSetStreamState, card, v1 * 16 + v2, v3);
        return true;
    }
    if (Equal(what, "ids")) {
        if (!Arity(a, 7, "set ids <card> <word0> <word1> <word2> <word3>", error)) return false;
        if (!Card(a[2], card, error) || !Number(a[3], "word0", 0, 0xFFFF, v1, error) ||
            !Number(a[4], "word1", 0, 0xFFFF, v2, error) || !Number(a[5], "word2", 0, 0xFFFF, v3, error) ||
            !Number(a[6], "word3", 0, 0xFFFF, v4, error))
            return false;
        Private(c, kVcSetIdWords, card, 0, v1 | v2 << 16);
        c.request.extra[0] = v3 | v4 << 16;
        return true;
    }
    if (Equal(what, "range-fail")) {
        if (!Arity(a, 4, "set range-fail <card> on|off", error)) return false;
        if (!Card(a[2], card, error) || !OnOff(a[3], v1, error)) return false;
        Private(c, kVcSetRangeFail, card, 0, v1);
        return true;
    }
    if (Equal(what, "cards")) {
        if (!Arity(a, 3, "set cards <count>", error)) return false;
        if (!Number(a[2], "card count", 0, kVcMaxCards, v1, error)) return false;
        Private(c, kVcSetCardCount, 0, 0, v1);
        return true;
    }
    if (Equal(what, "answer-mask")) {
        if (!Arity(a, 3, "set answer-mask <mask>", error)) return false;
        if (!Number(a[2], "answer mask", 0, 0xF, v1, error)) return false;
        Private(c, kVcSetAnswerMask, 0, 0, v1);
        return true;
    }
    if (Equal(what, "level")) {
        if (!Arity(a, 6, "set level <card> <channel> <left> <right>", error)) return false;
        if (!Card(a[2], card, error) || !Number(a[3], "channel", 0, kVcChannels - 1, v1, error) ||
            !Number(a[4], "left level", 0, 0xFFFF, v2, error) || !Number(a[5], "right level", 0, 0xFFFF, v3, error))
            return false;
        Public(c, 4481, card);
        PutWord16(c.frame, 20, static_cast<uint16_t>(v1));
        PutWord16(c.frame, 22, static_cast<uint16_t>(v2));
        PutWord16(c.frame, 24, static_cast<uint16_t>(v3));
        return true;
    }
    if (Equal(what, "control")) {
        if (!Arity(a, 5, "set control <card> <channel> on|off", error)) return false;
        if (!Card(a[2], card, error) || !Number(a[3], "channel", 0, kVcChannels - 1, v1, error) ||
            !OnOff(a[4], v2, error))
            return false;
        Public(c, v2 ? 4485 : 4484, card);
        PutWord32(c.frame, 8, v1);
        return true;
    }
    if (Equal(what, "clock-mode")) {
        if (!Arity(a, 4, "set clock-mode <card> <mode>", error)) return false;
        if (!Card(a[2], card, error) || !Number(a[3], "clock mode", 0, 7, v1, error)) return false;
        Public(c, 4439, card);
        PutWord32(c.frame, 16, v1);
        return true;
    }
    if (Equal(what, "auto-sync")) {
        if (!Arity(a, 4, "set auto-sync <card> on|off", error)) return false;
        if (!Card(a[2], card, error) || !OnOff(a[3], v1, error)) return false;
        Public(c, v1 ? 4489 : 4488, card);
        return true;
    }
    if (Equal(what, "sync")) {
        if (!Arity(a, 6, "set sync <card> record|playback <stream> on|off", error)) return false;
        if (!Card(a[2], card, error) || !Stream(a[3], a[4], v1, v2, error) || !OnOff(a[5], v3, error)) return false;
        Public(c, 4487, card);
        PutWord32(c.frame, 16, v1);
        PutWord16(c.frame, 20, static_cast<uint16_t>(v2));
        PutWord16(c.frame, 22, static_cast<uint16_t>(v3));
        return true;
    }
    error = std::string("cannot set ") + CardctlQuoted(what) + "; run cardctl without arguments for the list";
    return false;
}

// fault status <value> <count> | fail <count> | delay <ms>
bool ParseFault(const Args& a, CardctlCommand& c, std::string& error) {
    const char* form = "usage: cardctl fault status <value> <count> | fail <count> | delay <ms>";
    uint32_t v1 = 0, v2 = 0;
    if (a.count >= 2 && Equal(a[1], "status")) {
        if (!Arity(a, 4, "fault status <value> <count>", error)) return false;
        if (!Number(a[2], "status", 0, 0xFFFFFFFFu, v1, error, true) || !Number(a[3], "count", 0, 0xFFFFFFFFu, v2, error))
            return false;
        Private(c, kVcFaultStatus, 0, v2, v1);
        return true;
    }
    if (a.count >= 2 && Equal(a[1], "fail")) {
        if (!Arity(a, 3, "fault fail <count>", error)) return false;
        if (!Number(a[2], "count", 0, 0xFFFFFFFFu, v1, error)) return false;
        Private(c, kVcFaultFail, 0, v1, 0);
        return true;
    }
    if (a.count >= 2 && Equal(a[1], "delay")) {
        if (!Arity(a, 3, "fault delay <ms>", error)) return false;
        if (!Number(a[2], "delay in ms", 0, kVcMaxDelayMs, v1, error)) return false;
        Private(c, kVcFaultDelay, 0, 0, v1);
        return true;
    }
    error = form;
    return false;
}

}  // namespace

bool ParseCardctlNumber(const char* text, uint32_t& value) {
    if (!text) return false;
    const bool negative = text[0] == '-';
    const char* digits = negative ? text + 1 : text;
    const bool hex = !negative && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    if (hex) digits += 2;
    if (*digits == '\0') return false;
    const uint64_t limit = negative ? 0x80000000ull : 0xFFFFFFFFull;
    uint64_t v = 0;
    for (const char* p = digits; *p != '\0'; ++p) {
        const int digit = AsciiDigit(*p, hex);
        if (digit < 0) return false;
        v = v * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (v > limit) return false;
    }
    value = negative ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    return true;
}

std::string CardctlQuoted(const char* text) {
    static const char kHex[] = "0123456789abcdef";
    std::string quoted = "'";
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n') quoted += "\\n";
        else if (c == '\r') quoted += "\\r";
        else if (c == '\t') quoted += "\\t";
        else if (c == '\\') quoted += "\\\\";
        else if (c < 0x20 || c >= 0x7F) {
            quoted += "\\x";
            quoted += kHex[c >> 4];
            quoted += kHex[c & 15];
        } else {
            quoted += static_cast<char>(c);
        }
    }
    return quoted + "'";
}

bool ParseCardctlCommand(int argc, const char* const* argv, CardctlCommand& command, std::string& error) {
    command = CardctlCommand();
    const Args a = {argc - 1, argv + 1};
    if (a.count <= 0 || Equal(a[0], "help") || Equal(a[0], "--help")) {
        command.action = CardctlAction::Usage;
        return true;
    }
    const char* verb = a[0];
    if (Equal(verb, "status")) {
        if (a.count == 2 && Equal(a[1], "--json")) command.json = true;
        else if (!Arity(a, 1, "status [--json]", error)) return false;
        command.action = CardctlAction::Status;
        return true;
    }
    if (Equal(verb, "count")) {
        if (!Arity(a, 1, "count", error)) return false;
        command.action = CardctlAction::Count;
        return true;
    }
    if (Equal(verb, "reset")) {
        if (!Arity(a, 1, "reset", error)) return false;
        Private(command, kVcResetToLoad, 0, 0, 0);
        return true;
    }
    if (Equal(verb, "set")) return ParseSet(a, command, error);
    if (Equal(verb, "fault")) return ParseFault(a, command, error);
    error = std::string("unknown command ") + CardctlQuoted(verb) + "; run cardctl without arguments for the usage";
    return false;
}

const char* CardctlUsage() {
    return "usage: cardctl <command>\n"
           "Shows and changes the virtual card behind \\\\.\\ZelkWave.\n"
           "\n"
           "  status [--json]                     the whole state of every card\n"
           "  count                               protocol requests seen since load\n"
           "  reset                               every card, fault and counter back to load\n"
           "  fault status <value> <count>        the next <count> requests answer <value>\n"
           "  fault fail <count>                  the next <count> requests fail\n"
           "  fault delay <ms>                    every request takes <ms> (0..10000)\n"
           "  set stream <card> record|playback <stream> <state>\n"
           "  set card-state <card> <value>\n"
           "  set dma-status <card> <value>\n"
           "  set multi-playing <card> <value>\n"
           "  set dma-errors <card> <value>\n"
           "  set fpga-revision <card> <value>\n"
           "  set clock-measurement <card> <value>\n"
           "  set ids <card> <word0> <word1> <word2> <word3>\n"
           "  set range-fail <card> on|off\n"
           "  set cards <count>                   slots 0..count-1 answer (0..4)\n"
           "  set answer-mask <mask>              bit i: driver index i answers (0..15)\n"
           "\n"
           "These go to the card as a client would send them, so they are counted\n"
           "and meet armed faults:\n"
           "  set level <card> <channel> <left> <right>\n"
           "  set control <card> <channel> on|off\n"
           "  set clock-mode <card> <mode>\n"
           "  set auto-sync <card> on|off\n"
           "  set sync <card> record|playback <stream> on|off\n"
           "\n"
           "<card> is the driver index 0..3; numbers are decimal or 0x hexadecimal.\n";
}
