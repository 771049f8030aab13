// cardctl as a person meets it: usage, readable status, one clear line and a
// nonzero status for every mistake, and the driver's absence told plainly; with
// the driver stopped the program's own link finds no card.
#include <gtest/gtest.h>

#include <string>

#include "device/CardControl.h"
#include "tests/win32/driver_harness.h"

namespace {

class DriverCardctl : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CRawDevice().ResetCard()) << "the ZelkWave driver is not running"; }
    void TearDown() override { CRawDevice().ResetCard(); }
};

TEST_F(DriverCardctl, WithoutArgumentsItPrintsItsUsage) {
    const ProcessResult r = RunCardctl("");
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(r.out.rfind("usage: cardctl <command>", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("fault delay <ms>"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST_F(DriverCardctl, StatusIsReadableText) {
    const ProcessResult r = RunCardctl("status");
    ASSERT_TRUE(r.ran && r.exitCode == 0) << r.err;
    EXPECT_EQ(r.out.rfind("requests ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("card 0: answers\n"), std::string::npos);
    EXPECT_NE(r.out.find("  card state 1, dma status 1, multi playing 0, dma errors 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("card 1: does not answer\n"), std::string::npos);
}

TEST_F(DriverCardctl, ResetPutsTheLoadStateBack) {
    ASSERT_EQ(RunCardctl("set dma-errors 0 12").exitCode, 0u);
    ASSERT_EQ(RunCardctl("set cards 3").exitCode, 0u);
    ASSERT_EQ(RunCardctl("fault fail 4").exitCode, 0u);
    ASSERT_EQ(RunCardctl("reset").exitCode, 0u);
    CJsonValue state;
    std::string error;
    ASSERT_TRUE(ReadCardState(state, error)) << error;
    EXPECT_EQ(state["cards"][0]["dmaErrorCount"].u32(), 0u);
    EXPECT_EQ(state["answerMask"].u32(), 1u);
    EXPECT_EQ(state["fault"]["failCalls"].u32(), 0u);
}

TEST_F(DriverCardctl, MistakesGiveOneLineOnStderrAndStatus2) {
    const char* mistakes[] = {
        "frobnicate", "status --xml", "set", "set volume 0 1", "set level 0 11 1 1", "set card-state 4 1",
        "set cards 5", "fault", "fault delay 99999", "fault fail many", "set control 0 1 maybe",
    };
    for (const char* arguments : mistakes) {
        SCOPED_TRACE(arguments);
        const ProcessResult r = RunCardctl(arguments);
        ASSERT_TRUE(r.ran);
        EXPECT_EQ(r.exitCode, 2u);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("cardctl: ", 0), 0u) << r.err;
        EXPECT_EQ(LineCount(r.err), 1) << r.err;
    }
}

TEST_F(DriverCardctl, DigitsOfOtherScriptsAreNotNumbersAndArgumentsAreQuotedOnOneLine) {
    const struct {
        const char* arguments;
        const char* says;
    } cases[] = {
        {"set cards \xEF\xBC\x92", "card count must be a number, not '\\xef\\xbc\\x92'"},    // full-width two
        {"set clock-mode 0 \xEF\xBC\x95", "clock mode must be a number, not '\\xef\\xbc\\x95'"},  // full-width five
        {"fault fail \xC2\xB2", "count must be a number, not '\\xc2\\xb2'"},                      // superscript two
        {"set control 0 1 \"o\nn\"", "expected on or off, not 'o\\nn'"},
        {"set control 0 1 \"o\tn\"", "expected on or off, not 'o\\tn'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ProcessResult r = RunCardctl(c.arguments);
        ASSERT_TRUE(r.ran);
        EXPECT_EQ(r.exitCode, 2u);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(LineCount(r.err), 1) << r.err;
    }
    CJsonValue state;
    std::string error;
    ASSERT_TRUE(ReadCardState(state, error)) << error;
    EXPECT_EQ(state["answerMask"].u32(), 1u);
    EXPECT_EQ(state["cards"][0]["clockMode"].u32(), 0u);
    EXPECT_EQ(state["fault"]["failCalls"].u32(), 0u);
}

TEST_F(DriverCardctl, ARefusalByTheDriverIsOneLineAndStatus1) {
    ASSERT_EQ(RunCardctl("fault status 5 1").exitCode, 0u);
    const ProcessResult r = RunCardctl("set level 0 1 2 3");
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_EQ(r.err, "cardctl: the driver refused request 0x1181 (status 0x5)\n");
}

// Stops the driver for one test and starts it again whatever the test does.
class CDriverStopped {
public:
    CDriverStopped() : stopped_(StopDriver()) {}
    ~CDriverStopped() { StartDriver(); }
    CDriverStopped(const CDriverStopped&) = delete;
    CDriverStopped& operator=(const CDriverStopped&) = delete;
    bool stopped() const { return stopped_; }

private:
    bool stopped_;
};

TEST_F(DriverCardctl, WithTheDriverAbsentCardctlSaysSoAndTheProgramFindsNoCard) {
    {
        CDriverStopped absent;
        ASSERT_TRUE(absent.stopped());
        for (const char* arguments : {"status", "status --json", "count", "reset", "set cards 2", "fault fail 1"}) {
            SCOPED_TRACE(arguments);
            const ProcessResult r = RunCardctl(arguments);
            ASSERT_TRUE(r.ran);
            EXPECT_EQ(r.exitCode, 1u);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "cardctl: the ZelkWave driver is not running (cannot open \\\\.\\ZelkWave, error 2)\n");
        }
        CCardControl control;
        EXPECT_EQ(control.GetCardCount(), 0u);
        uint32_t mode = 9;
        EXPECT_EQ(control.GetClockMode(0, &mode), kBadCardIndex);
        EXPECT_EQ(mode, 9u);
    }
    // Started again: a fresh card answers.
    EXPECT_EQ(CCardControl().GetCardCount(), 1u);
    EXPECT_EQ(RunCardctl("status").exitCode, 0u);
}

}  // namespace
