// cardctl status: the JSON object carries every field of every slot where a script
// looks for it, and the text form shows the same values in fixed lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/CardctlFormat.h"
#include "tests/native/cardctl_json.h"

namespace {

// Every field distinct, so a field written under the wrong key shows.
CardctlState DistinctState() {
    CardctlState s = {};
    s.global.requestCount = 12345;
    s.global.answerMask = 0x5;
    s.global.nextClientId = 0x103;
    s.global.faultStatus = 0xFFFFFFFBu;
    s.global.faultStatusCalls = 2;
    s.global.faultFailCalls = 3;
    s.global.delayMs = 40;
    for (uint32_t k = 0; k < kVcMaxCards; ++k) {
        VcCardSnapshot& c = s.cards[k];
        const uint32_t base = 1000 * (k + 1);
        c.card = k;
        c.answers = (0x5 >> k) & 1;
        c.rangeFails = k == 2;
        for (uint32_t i = 0; i < 4; ++i) c.idWords[i] = base + 10 + i;
        c.isFree = k == 0;
        c.rangeStart[0] = base + 20;
        c.rangeStart[1] = base + 21;
        c.rangeLength[0] = base + 22;
        c.rangeLength[1] = base + 23;
        for (uint32_t ch = 0; ch < kVcChannels; ++ch) {
            c.left[ch] = base + 100 + ch;
            c.right[ch] = base + 200 + ch;
            c.control[ch] = ch % 2;
            c.defaultLeft[ch] = base + 300 + ch;
            c.defaultRight[ch] = base + 400 + ch;
            c.defaultControl[ch] = (ch + 1) % 2;
        }
        c.clockMode = 5;
        c.autoSync = 0;
        c.defaultClockMode = 6;
        c.defaultAutoSync = 1;
        for (uint32_t i = 0; i < kVcRecordStreams; ++i) {
            c.recordSync[i] = i % 2;
            c.defaultRecordSync[i] = (i + 1) % 2;
            c.recordState[i] = base + 500 + i;
        }
        for (uint32_t i = 0; i < kVcPlaybackStreams; ++i) {
            c.playbackSync[i] = i % 2;
            c.defaultPlaybackSync[i] = (i + 1) % 2;
            c.playbackState[i] = base + 600 + i;
        }
        c.defaultsWord = base + 30;
        c.cardState = base + 31;
        c.dmaStatus = base + 32;
        c.multiPlaying = base + 33;
        c.dmaErrorCount = base + 34;
        c.fpgaRevision = base + 35;
        c.clockMeasurement = base + 36;
    }
    return s;
}

CJsonValue Json(const CardctlState& s) {
    CJsonValue v;
    std::string error;
    const std::string text = FormatStatusJson(s);
    EXPECT_TRUE(CJsonValue::Parse(text, v, error)) << error << "\n" << text;
    return v;
}

TEST(CardctlFormat, JsonIsOneObjectWithTheCountersAndFaults) {
    const CJsonValue v = Json(DistinctState());
    ASSERT_EQ(v.kind(), CJsonValue::Kind::Object);
    EXPECT_EQ(v["requestCount"].u32(), 12345u);
    EXPECT_EQ(v["answerMask"].u32(), 5u);
    EXPECT_EQ(v["nextClientId"].u32(), 0x103u);
    EXPECT_EQ(v["fault"]["status"].u32(), 0xFFFFFFFBu);
    EXPECT_EQ(v["fault"]["statusCalls"].u32(), 2u);
    EXPECT_EQ(v["fault"]["failCalls"].u32(), 3u);
    EXPECT_EQ(v["fault"]["delayMs"].u32(), 40u);
}

TEST(CardctlFormat, JsonShowsEverySlotWithEveryField) {
    const CardctlState s = DistinctState();
    const CJsonValue v = Json(s);
    ASSERT_EQ(v["cards"].size(), kVcMaxCards);
    for (uint32_t k = 0; k < kVcMaxCards; ++k) {
        SCOPED_TRACE(k);
        const VcCardSnapshot& c = s.cards[k];
        const CJsonValue& j = v["cards"][k];
        EXPECT_EQ(j["card"].u32(), k);
        EXPECT_EQ(j["answers"].kind(), CJsonValue::Kind::Bool);
        EXPECT_EQ(j["answers"].boolean(), c.answers != 0);
        EXPECT_EQ(j["rangeFails"].boolean(), c.rangeFails != 0);
        for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(j["idWords"][i].u32(), c.idWords[i]);
        EXPECT_EQ(j["isFree"].u32(), c.isFree);
        for (uint32_t r = 0; r < 2; ++r) {
            EXPECT_EQ(j["rangeStart"][r].u32(), c.rangeStart[r]);
            EXPECT_EQ(j["rangeLength"][r].u32(), c.rangeLength[r]);
        }
        ASSERT_EQ(j["channels"].size(), kVcChannels);
        for (uint32_t ch = 0; ch < kVcChannels; ++ch) {
            EXPECT_EQ(j["channels"][ch]["left"].u32(), c.left[ch]);
            EXPECT_EQ(j["channels"][ch]["right"].u32(), c.right[ch]);
            EXPECT_EQ(j["channels"][ch]["control"].u32(), c.control[ch]);
            EXPECT_EQ(j["defaults"]["channels"][ch]["left"].u32(), c.defaultLeft[ch]);
            EXPECT_EQ(j["defaults"]["channels"][ch]["right"].u32(), c.defaultRight[ch]);
            EXPECT_EQ(j["defaults"]["channels"][ch]["control"].u32(), c.defaultControl[ch]);
        }
        EXPECT_EQ(j["clockMode"].u32(), c.clockMode);
        EXPECT_EQ(j["autoSync"].u32(), c.autoSync);
        EXPECT_EQ(j["defaults"]["clockMode"].u32(), c.defaultClockMode);
        EXPECT_EQ(j["defaults"]["autoSync"].u32(), c.defaultAutoSync);
        EXPECT_EQ(j["defaults"]["word"].u32(), c.defaultsWord);
        ASSERT_EQ(j["recordSync"].size(), kVcRecordStreams);
        ASSERT_EQ(j["recordState"].size(), kVcRecordStreams);
        for (uint32_t i = 0; i < kVcRecordStreams; ++i) {
            EXPECT_EQ(j["recordSync"][i].u32(), c.recordSync[i]);
            EXPECT_EQ(j["defaults"]["recordSync"][i].u32(), c.defaultRecordSync[i]);
            EXPECT_EQ(j["recordState"][i].u32(), c.recordState[i]);
        }
        ASSERT_EQ(j["playbackSync"].size(), kVcPlaybackStreams);
        ASSERT_EQ(j["playbackState"].size(), kVcPlaybackStreams);
        for (uint32_t i = 0; i < kVcPlaybackStreams; ++i) {
            EXPECT_EQ(j["playbackSync"][i].u32(), c.playbackSync[i]);
            EXPECT_EQ(j["defaults"]["playbackSync"][i].u32(), c.defaultPlaybackSync[i]);
            EXPECT_EQ(j["playbackState"][i].u32(), c.playbackState[i]);
        }
        EXPECT_EQ(j["cardState"].u32(), c.cardState);
        EXPECT_EQ(j["dmaStatus"].u32(), c.dmaStatus);
        EXPECT_EQ(j["multiPlaying"].u32(), c.multiPlaying);
        EXPECT_EQ(j["dmaErrorCount"].u32(), c.dmaErrorCount);
        EXPECT_EQ(j["fpgaRevision"].u32(), c.fpgaRevision);
        EXPECT_EQ(j["clockMeasurement"].u32(), c.clockMeasurement);
    }
}

TEST(CardctlFormat, JsonIsOneLine) {
    const std::string text = FormatStatusJson(DistinctState());
    EXPECT_EQ(text.find('\n'), text.size() - 1);
}

TEST(CardctlFormat, TextShowsAnsweringCardsWholeAndSilentSlotsInOneLine) {
    const std::string text = FormatStatusText(DistinctState());
    const char* lines[] = {
        "requests 12345, answer mask 0x5, next client id 0x0103\n",
        "faults: status 0xfffffffb for the next 2 requests, fail the next 3, delay 40 ms\n",
        "card 0: answers\n",
        "  ids 0x03f2 0x03f3 0x03f4 0x03f5, free 1, range requests answer\n",
        "  range 1: start 0x000003fd length 0x000003ff\n",
        "  card state 1031, dma status 1032, multi playing 1033, dma errors 1034\n",
        "  fpga revision 0x040b, clock measurement 1036\n",
        "  clock mode 5, auto sync 0\n",
        "  record sync 0 1 0 1 0 1\n",
        "  playback state 1600 1601 1602 1603 1604 1605 1606 1607 1608 1609\n",
        "       10   1110   1210       0\n",
        "  defaults: word 1030, clock mode 6, auto sync 1\n",
        "                  3   1303   1403       0\n",
        "card 1: does not answer\n",
        "card 2: answers\n",
        "  ids 0x0bc2 0x0bc3 0x0bc4 0x0bc5, free 0, range requests fail\n",
        "card 3: does not answer\n",
    };
    for (const char* line : lines) EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line << text;
    EXPECT_EQ(text.find("card 1: answers"), std::string::npos);
    EXPECT_EQ(text, FormatStatusText(DistinctState()));
}

TEST(CardctlFormat, TextIsCompleteEveryRangeStreamAndChannelOfBothTables) {
    const char* expected =
        "requests 12345, answer mask 0x5, next client id 0x0103\n"
        "faults: status 0xfffffffb for the next 2 requests, fail the next 3, delay 40 ms\n"
        "card 0: answers\n"
        "  ids 0x03f2 0x03f3 0x03f4 0x03f5, free 1, range requests answer\n"
        "  range 0: start 0x000003fc length 0x000003fe\n"
        "  range 1: start 0x000003fd length 0x000003ff\n"
        "  card state 1031, dma status 1032, multi playing 1033, dma errors 1034\n"
        "  fpga revision 0x040b, clock measurement 1036\n"
        "  clock mode 5, auto sync 0\n"
        "  record sync 0 1 0 1 0 1\n"
        "  playback sync 0 1 0 1 0 1 0 1 0 1\n"
        "  record state 1500 1501 1502 1503 1504 1505\n"
        "  playback state 1600 1601 1602 1603 1604 1605 1606 1607 1608 1609\n"
        "  channel   left  right control\n"
        "        0   1100   1200       0\n"
        "        1   1101   1201       1\n"
        "        2   1102   1202       0\n"
        "        3   1103   1203       1\n"
        "        4   1104   1204       0\n"
        "        5   1105   1205       1\n"
        "        6   1106   1206       0\n"
        "        7   1107   1207       1\n"
        "        8   1108   1208       0\n"
        "        9   1109   1209       1\n"
        "       10   1110   1210       0\n"
        "  defaults: word 1030, clock mode 6, auto sync 1\n"
        "  defaults: record sync 1 0 1 0 1 0\n"
        "  defaults: playback sync 1 0 1 0 1 0 1 0 1 0\n"
        "  defaults: channel   left  right control\n"
        "                  0   1300   1400       1\n"
        "                  1   1301   1401       0\n"
        "                  2   1302   1402       1\n"
        "                  3   1303   1403       0\n"
        "                  4   1304   1404       1\n"
        "                  5   1305   1405       0\n"
        "                  6   1306   1406       1\n"
        "                  7   1307   1407       0\n"
        "                  8   1308   1408       1\n"
        "                  9   1309   1409       0\n"
        "                 10   1310   1410       1\n"
        "card 1: does not answer\n"
        "card 2: answers\n"
        "  ids 0x0bc2 0x0bc3 0x0bc4 0x0bc5, free 0, range requests fail\n"
        "  range 0: start 0x00000bcc length 0x00000bce\n"
        "  range 1: start 0x00000bcd length 0x00000bcf\n"
        "  card state 3031, dma status 3032, multi playing 3033, dma errors 3034\n"
        "  fpga revision 0x0bdb, clock measurement 3036\n"
        "  clock mode 5, auto sync 0\n"
        "  record sync 0 1 0 1 0 1\n"
        "  playback sync 0 1 0 1 0 1 0 1 0 1\n"
        "  record state 3500 3501 3502 3503 3504 3505\n"
        "  playback state 3600 3601 3602 3603 3604 3605 3606 3607 3608 3609\n"
        "  channel   left  right control\n"
        "        0   3100   3200       0\n"
        "        1   3101   3201       1\n"
        "        2   3102   3202       0\n"
        "        3   3103   3203       1\n"
        "        4   3104   3204       0\n"
        "        5   3105   3205       1\n"
        "        6   3106   3206       0\n"
        "        7   3107   3207       1\n"
        "        8   3108   3208       0\n"
        "        9   3109   3209       1\n"
        "       10   3110   3210       0\n"
        "  defaults: word 3030, clock mode 6, auto sync 1\n"
        "  defaults: record sync 1 0 1 0 1 0\n"
        "  defaults: playback sync 1 0 1 0 1 0 1 0 1 0\n"
        "  defaults: channel   left  right control\n"
        "                  0   3300   3400       1\n"
        "                  1   3301   3401       0\n"
        "                  2   3302   3402       1\n"
        "                  3   3303   3403       0\n"
        "                  4   3304   3404       1\n"
        "                  5   3305   3405       0\n"
        "                  6   3306   3406       1\n"
        "                  7   3307   3407       0\n"
        "                  8   3308   3408       1\n"
        "                  9   3309   3409       0\n"
        "                 10   3310   3410       1\n"
        "card 3: does not answer\n";
    EXPECT_EQ(FormatStatusText(DistinctState()), expected);
}

TEST(CardctlFormat, JsonCarriesExactlyTheKnownKeys) {
    const CJsonValue v = Json(DistinctState());
    const std::vector<std::string> top = {"requestCount", "answerMask", "nextClientId", "fault", "cards"};
    const std::vector<std::string> fault = {"status", "statusCalls", "failCalls", "delayMs"};
    const std::vector<std::string> card = {"card", "answers", "rangeFails", "idWords", "isFree", "rangeStart",
                                           "rangeLength", "channels", "clockMode", "autoSync", "recordSync",
                                           "playbackSync", "defaults", "recordState", "playbackState", "cardState",
                                           "dmaStatus", "multiPlaying", "dmaErrorCount", "fpgaRevision",
                                           "clockMeasurement"};
    const std::vector<std::string> defaults = {"channels", "clockMode", "autoSync", "recordSync", "playbackSync", "word"};
    EXPECT_EQ(v.keys(), top);
    EXPECT_EQ(v["fault"].keys(), fault);
    for (uint32_t k = 0; k < kVcMaxCards; ++k) {
        EXPECT_EQ(v["cards"][k].keys(), card) << k;
        EXPECT_EQ(v["cards"][k]["defaults"].keys(), defaults) << k;
        ASSERT_EQ(v["cards"][k]["defaults"]["channels"].size(), kVcChannels) << k;
        ASSERT_EQ(v["cards"][k]["defaults"]["recordSync"].size(), kVcRecordStreams) << k;
        ASSERT_EQ(v["cards"][k]["defaults"]["playbackSync"].size(), kVcPlaybackStreams) << k;
        ASSERT_EQ(v["cards"][k]["idWords"].size(), 4u) << k;
        ASSERT_EQ(v["cards"][k]["rangeStart"].size(), 2u) << k;
        ASSERT_EQ(v["cards"][k]["rangeLength"].size(), 2u) << k;
    }
}

}  // namespace
