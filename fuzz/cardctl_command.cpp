// cardctl's command parsing fed arbitrary argument lists (the input split at NUL
// bytes). A second, plain reading of the usage says which lists are commands and
// what each must send; the parser must agree with it both ways. Refusals must
// explain themselves on one line, and numbers must read as plain ASCII decimal,
// 0x hexadecimal or (for a driver status) negative decimal.
#include <cstring>
#include <string>
#include <vector>

#include "device/Words.h"
#include "driver/CardctlCommand.h"
#include "fuzz/FuzzBytes.h"

namespace {

constexpr size_t kMaxArgs = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
uint32_t HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

// Digits in `base` up to the end of the text, into at most `limit`.
bool Digits(const std::string& text, size_t from, uint32_t base, uint64_t limit, uint64_t& value) {
    if (from >= text.size()) return false;
    value = 0;
    for (size_t i = from; i < text.size(); ++i) {
        if (base == 10 ? !IsDigit(text[i]) : !IsHexDigit(text[i])) return false;
        value = value * base + HexValue(text[i]);
        if (value > limit) return false;
    }
    return true;
}

bool PlainNumber(const std::string& text, bool negativeOk, uint32_t& value) {
    uint64_t v = 0;
    if (!text.empty() && text[0] == '-') {
        if (!negativeOk || !Digits(text, 1, 10, 0x80000000ull, v)) return false;
        value = static_cast<uint32_t>(0u - static_cast<uint32_t>(v));
        return true;
    }
    const bool hex = text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (!Digits(text, hex ? 2 : 0, hex ? 16 : 10, 0xFFFFFFFFull, v)) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

bool InRange(const std::string& text, uint32_t lo, uint32_t hi, uint32_t& value, bool negativeOk = false) {
    return PlainNumber(text, negativeOk, value) && value >= lo && value <= hi;
}

bool OnOff(const std::string& text, uint32_t& flag) {
    flag = text == "on" ? 1 : 0;
    return text == "on" || text == "off";
}

bool StreamOf(const std::string& direction, const std::string& stream, uint32_t& dir, uint32_t& number) {
    if (direction != "record" && direction != "playback") return false;
    dir = direction == "record" ? 0 : 1;
    return InRange(stream, 0, dir == 0 ? kVcRecordStreams - 1 : kVcPlaybackStreams - 1, number);
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

// The usage read plainly: the command an argument list stands for, or false.
bool Expected(const std::vector<std::string>& a, CardctlCommand& c) {
    const size_t n = a.size();
    if (n == 0 || a[0] == "help" || a[0] == "--help") return true;
    if (a[0] == "status") {
        c.action = CardctlAction::Status;
        c.json = n == 2;
        return n == 1 || (n == 2 && a[1] == "--json");
    }
    if (a[0] == "count" || a[0] == "reset") {
        c.action = CardctlAction::Count;
        if (a[0] == "reset") Private(c, kVcResetToLoad, 0, 0, 0);
        return n == 1;
    }
    uint32_t card = 0, v1 = 0, v2 = 0, v3 = 0, v4 = 0;
    if (a[0] == "fault" && n >= 2) {
        if (a[1] == "status" && n == 4 && InRange(a[2], 0, 0xFFFFFFFFu, v1, true) && InRange(a[3], 0, 0xFFFFFFFFu, v2))
            return Private(c, kVcFaultStatus, 0, v2, v1), true;
        if (a[1] == "fail" && n == 3 && InRange(a[2], 0, 0xFFFFFFFFu, v1)) return Private(c, kVcFaultFail, 0, v1, 0), true;
        if (a[1] == "delay" && n == 3 && InRange(a[2], 0, kVcMaxDelayMs, v1))
            return Private(c, kVcFaultDelay, 0, 0, v1), true;
        return false;
    }
    if (a[0] != "set" || n < 2) return false;
    const std::string& what = a[1];
    const bool hasCard = n >= 3 && InRange(a[2], 0, kVcMaxCards - 1, card);
    const struct {
        const char* name;
        uint32_t code;
    } setters[] = {{"card-state", kVcSetCardState},       {"dma-status", kVcSetDmaStatus},
                   {"multi-playing", kVcSetMultiPlaying}, {"dma-errors", kVcSetDmaErrorCount},
                   {"fpga-revision", kVcSetFpgaRevision}, {"clock-measurement", kVcSetClockMeasurement}};
    for (const auto& s : setters) {
        if (what == s.name) {
            if (n != 4 || !hasCard || !InRange(a[3], 0, 0xFFFFFFFFu, v1)) return false;
            return Private(c, s.code, card, 0, v1), true;
        }
    }
    if (what == "stream") {
        if (n != 6 || !hasCard || !StreamOf(a[3], a[4], v1, v2) || !InRange(a[5], 0, 0xFFFFFFFFu, v3)) return false;
        return Private(c, kVcSetStreamState, card, v1 * 16 + v2, v3), true;
    }
    if (what == "ids") {
        if (n != 7 || !hasCard || !InRange(a[3], 0, 0xFFFF, v1) || !InRange(a[4], 0, 0xFFFF, v2) ||
            !InRange(a[5], 0, 0xFFFF, v3) || !InRange(a[6], 0, 0xFFFF, v4))
            return false;
        Private(c, kVcSetIdWords, card, 0, v1 | v2 << 16);
        c.request.extra[0] = v3 | v4 << 16;
        return true;
    }
    if (what == "range-fail") {
        if (n != 4 || !hasCard || !OnOff(a[3], v1)) return false;
        return Private(c, kVcSetRangeFail, card, 0, v1), true;
    }
    if (what == "cards" || what == "answer-mask") {
        const bool count = what == "cards";
        if (n != 3 || !InRange(a[2], 0, count ? kVcMaxCards : 0xF, v1)) return false;
        return Private(c, count ? kVcSetCardCount : kVcSetAnswerMask, 0, 0, v1), true;
    }
    if (what == "level") {
        if (n != 6 || !hasCard || !InRange(a[3], 0, kVcChannels - 1, v1) || !InRange(a[4], 0, 0xFFFF, v2) ||
            !InRange(a[5], 0, 0xFFFF, v3))
            return false;
        Public(c, 4481, card);
        PutWord16(c.frame, 20, static_cast<uint16_t>(v1));
        PutWord16(c.frame, 22, static_cast<uint16_t>(v2));
        PutWord16(c.frame, 24, static_cast<uint16_t>(v3));
        return true;
    }
    if (what == "control") {
        if (n != 5 || !hasCard || !InRange(a[3], 0, kVcChannels - 1, v1) || !OnOff(a[4], v2)) return false;
        Public(c, v2 ? 4485 : 4484, card);
        PutWord32(c.frame, 8, v1);
        return true;
    }
    if (what == "clock-mode") {
        if (n != 4 || !hasCard || !InRange(a[3], 0, 7, v1)) return false;
        Public(c, 4439, card);
        PutWord32(c.frame, 16, v1);
        return true;
    }
    if (what == "auto-sync") {
        if (n != 4 || !hasCard || !OnOff(a[3], v1)) return false;
        return Public(c, v1 ? 4489 : 4488, card), true;
    }
    if (what == "sync") {
        if (n != 6 || !hasCard || !StreamOf(a[3], a[4], v1, v2) || !OnOff(a[5], v3)) return false;
        Public(c, 4487, card);
        PutWord32(c.frame, 16, v1);
        PutWord16(c.frame, 20, static_cast<uint16_t>(v2));
        PutWord16(c.frame, 22, static_cast<uint16_t>(v3));
        return true;
    }
    return false;
}

bool Same(const CardctlCommand& x, const CardctlCommand& y) {
    return x.action == y.action && x.json == y.json && x.code == y.code &&
           std::memcmp(&x.request, &y.request, sizeof x.request) == 0 &&
           std::memcmp(x.frame, y.frame, sizeof x.frame) == 0;
}

bool OneLine(const std::string& text) {
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) return false;
    }
    return !text.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Arguments are the input's pieces between NUL bytes; the last piece ends the input.
    std::vector<std::string> args;
    std::string piece;
    for (size_t i = 0; i < size && args.size() < kMaxArgs; ++i) {
        if (data[i] != 0) {
            piece += static_cast<char>(data[i]);
            continue;
        }
        args.push_back(piece);
        piece.clear();
    }
    if (!piece.empty() && args.size() < kMaxArgs) args.push_back(piece);

    for (const std::string& arg : args) {
        uint32_t parsed = 0x12345678, plain = 0x12345678;
        const bool read = ParseCardctlNumber(arg.c_str(), parsed);
        Rule(read == PlainNumber(arg, true, plain), "a number is plain ASCII decimal, 0x hexadecimal or negative decimal");
        Rule(!read || parsed == plain, "a number reads as its digits say");
    }

    std::vector<const char*> argv = {"cardctl"};
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    CardctlCommand command;
    std::string error;
    const bool accepted = ParseCardctlCommand(static_cast<int>(argv.size()), argv.data(), command, error);

    CardctlCommand expected;
    const bool valid = Expected(args, expected);
    Rule(accepted == valid, accepted ? "cardctl accepts only the commands its usage lists, with numbers in range"
                                     : "cardctl accepts every command its usage lists");
    if (!accepted) {
        Rule(OneLine(error), "a refused command explains itself in one line: control characters in an argument are "
                             "escaped");
        return 0;
    }
    Rule(Same(command, expected), "a command sends the code, request and frame words its usage describes");
    if (command.action == CardctlAction::Public) {
        Rule(GetWord32(command.frame, 0) == 0, "a client frame's word 0, the client id, stays 0");
        Rule(GetWord32(command.frame, 4) < kVcMaxCards, "a client frame's word 1 is a driver index 0..3");
    }
    return 0;
}
