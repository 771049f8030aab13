// cardctl's command line: what each command sends, and one clear line for every
// mistake.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "driver/CardctlCommand.h"

namespace {

struct Parsed {
    bool ok;
    CardctlCommand command;
    std::string error;
};

Parsed Parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv = {"cardctl"};
    argv.insert(argv.end(), args.begin(), args.end());
    Parsed p;
    p.ok = ParseCardctlCommand(static_cast<int>(argv.size()), argv.data(), p.command, p.error);
    return p;
}

uint32_t Frame32(const CardctlCommand& c, uint32_t offset) {
    uint32_t v = 0;
    std::memcpy(&v, c.frame + offset, 4);
    return v;
}

uint16_t Frame16(const CardctlCommand& c, uint32_t offset) {
    uint16_t v = 0;
    std::memcpy(&v, c.frame + offset, 2);
    return v;
}

TEST(CardctlCommand, NoArgumentsOrHelpAskForTheUsage) {
    for (auto p : {Parse({}), Parse({"help"}), Parse({"--help"})}) {
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.command.action, CardctlAction::Usage);
    }
    EXPECT_NE(std::strstr(CardctlUsage(), "fault status <value> <count>"), nullptr);
}

TEST(CardctlCommand, StatusCountAndReset) {
    Parsed p = Parse({"status"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.command.action, CardctlAction::Status);
    EXPECT_FALSE(p.command.json);
    p = Parse({"status", "--json"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.command.json);
    p = Parse({"count"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.command.action, CardctlAction::Count);
    p = Parse({"reset"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.command.action, CardctlAction::Private);
    EXPECT_EQ(p.command.code, static_cast<uint32_t>(kVcResetToLoad));
}

struct PrivateCase {
    std::vector<const char*> args;
    uint32_t code, card, index, value, extra0;
};

TEST(CardctlCommand, PrivateSettersCarryCardIndexAndValue) {
    const PrivateCase cases[] = {
        {{"set", "stream", "1", "record", "5", "3"}, kVcSetStreamState, 1, 5, 3, 0},
        {{"set", "stream", "0", "playback", "9", "4"}, kVcSetStreamState, 0, 16 + 9, 4, 0},
        {{"set", "card-state", "2", "7"}, kVcSetCardState, 2, 0, 7, 0},
        {{"set", "dma-status", "0", "3"}, kVcSetDmaStatus, 0, 0, 3, 0},
        {{"set", "multi-playing", "0", "1"}, kVcSetMultiPlaying, 0, 0, 1, 0},
        {{"set", "dma-errors", "3", "4294967295"}, kVcSetDmaErrorCount, 3, 0, 0xFFFFFFFFu, 0},
        {{"set", "fpga-revision", "0", "0x0210"}, kVcSetFpgaRevision, 0, 0, 0x210, 0},
        {{"set", "clock-measurement", "0", "933"}, kVcSetClockMeasurement, 0, 0, 933, 0},
        {{"set", "ids", "1", "0x1a3c", "0x601", "0x11", "2"}, kVcSetIdWords, 1, 0, 0x06011A3C, 0x00020011},
        {{"set", "range-fail", "2", "on"}, kVcSetRangeFail, 2, 0, 1, 0},
        {{"set", "range-fail", "2", "off"}, kVcSetRangeFail, 2, 0, 0, 0},
        {{"set", "cards", "4"}, kVcSetCardCount, 0, 0, 4, 0},
        {{"set", "cards", "0"}, kVcSetCardCount, 0, 0, 0, 0},
        {{"set", "answer-mask", "0x5"}, kVcSetAnswerMask, 0, 0, 5, 0},
        {{"fault", "status", "5", "2"}, kVcFaultStatus, 0, 2, 5, 0},
        {{"fault", "status", "-5", "1"}, kVcFaultStatus, 0, 1, 0xFFFFFFFBu, 0},
        {{"fault", "fail", "3"}, kVcFaultFail, 0, 3, 0, 0},
        {{"fault", "delay", "10000"}, kVcFaultDelay, 0, 0, 10000, 0},
    };
    for (const PrivateCase& c : cases) {
        std::vector<const char*> argv = {"cardctl"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        CardctlCommand command;
        std::string error;
        ASSERT_TRUE(ParseCardctlCommand(static_cast<int>(argv.size()), argv.data(), command, error))
            << c.args[1] << ": " << error;
        SCOPED_TRACE(c.args[1]);
        EXPECT_EQ(command.action, CardctlAction::Private);
        EXPECT_EQ(command.code, c.code);
        EXPECT_EQ(command.request.card, c.card);
        EXPECT_EQ(command.request.index, c.index);
        EXPECT_EQ(command.request.value, c.value);
        EXPECT_EQ(command.request.extra[0], c.extra0);
    }
}

TEST(CardctlCommand, ProtocolSettersFrameTheirWordsWhereTheCardReadsThem) {
    Parsed p = Parse({"set", "level", "1", "10", "1000", "65535"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.command.action, CardctlAction::Public);
    EXPECT_EQ(p.command.code, 4481u);
    EXPECT_EQ(Frame32(p.command, 4), 1u);
    EXPECT_EQ(Frame16(p.command, 20), 10);
    EXPECT_EQ(Frame16(p.command, 22), 1000);
    EXPECT_EQ(Frame16(p.command, 24), 65535);

    p = Parse({"set", "control", "0", "3", "on"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.command.code, 4485u);
    EXPECT_EQ(Frame32(p.command, 8), 3u);
    p = Parse({"set", "control", "0", "3", "off"});
    EXPECT_EQ(p.command.code, 4484u);

    p = Parse({"set", "clock-mode", "2", "7"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.command.code, 4439u);
    EXPECT_EQ(Frame32(p.command, 4), 2u);
    EXPECT_EQ(Frame32(p.command, 16), 7u);

    EXPECT_EQ(Parse({"set", "auto-sync", "0", "on"}).command.code, 4489u);
    EXPECT_EQ(Parse({"set", "auto-sync", "0", "off"}).command.code, 4488u);

    p = Parse({"set", "sync", "0", "playback", "9", "on"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.command.code, 4487u);
    EXPECT_EQ(Frame32(p.command, 16), 1u);
    EXPECT_EQ(Frame16(p.command, 20), 9);
    EXPECT_EQ(Frame16(p.command, 22), 1);
    // No client identifier: word 0 stays 0.
    EXPECT_EQ(Frame32(p.command, 0), 0u);
}

TEST(CardctlCommand, MistakesGiveOneLineThatNamesTheProblem) {
    const struct {
        std::vector<const char*> args;
        const char* says;
    } cases[] = {
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"status", "--xml"}, "usage: cardctl status [--json]"},
        {{"count", "now"}, "usage: cardctl count"},
        {{"reset", "0"}, "usage: cardctl reset"},
        {{"set"}, "usage: cardctl set"},
        {{"set", "volume", "0", "1"}, "cannot set 'volume'"},
        {{"set", "card-state", "4", "1"}, "card must be 0..3, not 4"},
        {{"set", "card-state", "0"}, "usage: cardctl set card-state <card> <value>"},
        {{"set", "card-state", "0", "ready"}, "card state must be a number, not 'ready'"},
        {{"set", "level", "0", "11", "1", "1"}, "channel must be 0..10, not 11"},
        {{"set", "level", "0", "1", "65536", "1"}, "left level must be 0..65535"},
        {{"set", "stream", "0", "record", "6", "3"}, "record stream must be 0..5, not 6"},
        {{"set", "stream", "0", "playback", "10", "3"}, "playback stream must be 0..9, not 10"},
        {{"set", "stream", "0", "sideways", "1", "3"}, "expected record or playback"},
        {{"set", "control", "0", "1", "yes"}, "expected on or off, not 'yes'"},
        {{"set", "clock-mode", "0", "8"}, "clock mode must be 0..7, not 8"},
        {{"set", "cards", "5"}, "card count must be 0..4, not 5"},
        {{"set", "answer-mask", "16"}, "answer mask must be 0..15"},
        {{"set", "ids", "0", "1", "2", "3", "0x10000"}, "word3 must be 0..65535"},
        {{"fault"}, "usage: cardctl fault status <value> <count> | fail <count> | delay <ms>"},
        {{"fault", "delay", "10001"}, "delay in ms must be 0..10000, not 10001"},
        {{"fault", "fail", "-1"}, "count must be"},
        {{"fault", "status", "5"}, "usage: cardctl fault status <value> <count>"},
        {{"fault", "status"}, "usage: cardctl fault status <value> <count>"},
        {{"fault", "status", "5", "1", "2"}, "usage: cardctl fault status <value> <count>"},
        {{"fault", "fail"}, "usage: cardctl fault fail <count>"},
        {{"fault", "fail", "1", "2"}, "usage: cardctl fault fail <count>"},
        {{"fault", "delay"}, "usage: cardctl fault delay <ms>"},
        {{"fault", "delay", "1", "2"}, "usage: cardctl fault delay <ms>"},
        {{"fault", "stall", "1"}, "usage: cardctl fault status <value> <count> | fail <count> | delay <ms>"},
        {{"set", "card-state", "0", "\xEF\xBC\x91"}, "card state must be a number, not '\\xef\\xbc\\x91'"},
        {{"set", "control", "0", "1", "o\nn"}, "expected on or off, not 'o\\nn'"},
        {{"set", "stream", "0", "re\tcord", "1", "3"}, "expected record or playback, not 're\\tcord'"},
        {{"set", "le\rvel"}, "cannot set 'le\\rvel'"},
        {{"st\x1b[2Jatus"}, "unknown command 'st\\x1b[2Jatus'"},
        {{"set", "cards", "1\x7f"}, "card count must be a number, not '1\\x7f'"},
        {{"set", "cards", "C:\\1"}, "card count must be a number, not 'C:\\\\1'"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"cardctl"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        CardctlCommand command;
        std::string error;
        EXPECT_FALSE(ParseCardctlCommand(static_cast<int>(argv.size()), argv.data(), command, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << "got: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        for (char ch : error) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << "byte " << static_cast<int>(ch) << " in " << error;
    }
}

TEST(CardctlCommand, NumbersAreDecimalHexOrNegativeStatuses) {
    const struct {
        const char* text;
        bool ok;
        uint32_t value;
    } cases[] = {
        {"0", true, 0},
        {"4294967295", true, 0xFFFFFFFFu},
        {"4294967296", false, 0},
        {"0x7a00", true, 0x7A00},
        {"0XFF", true, 0xFF},
        {"0xffffffff", true, 0xFFFFFFFFu},
        {"0x100000000", false, 0},
        {"-1", true, 0xFFFFFFFFu},
        {"-2147483648", true, 0x80000000u},
        {"-2147483649", false, 0},
        {"", false, 0},
        {"0x", false, 0},
        {"-", false, 0},
        {"-0x5", false, 0},
        {" 5", false, 0},
        {"+5", false, 0},
        {"5 ", false, 0},
        {"12abc", false, 0},
        {"1e3", false, 0},
        {"\xEF\xBC\x91", false, 0},          // full-width one
        {"1\xEF\xBC\x92", false, 0},         // one, full-width two
        {"\xD9\xA3", false, 0},              // Arabic-Indic three
        {"\xC2\xB9", false, 0},              // superscript one
        {"0x\xEF\xBC\xA1", false, 0},        // 0x, full-width A
        {"-\xEF\xBC\x91", false, 0},
        {"0x00000000000000ff", true, 0xFF},
        {"000000000000000000042", true, 42},
    };
    for (const auto& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(ParseCardctlNumber(c.text, value), c.ok) << "'" << c.text << "'";
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

}  // namespace
