#include "driver/CardctlFormat.h"

#include <cstdio>

namespace {

std::string Hex(uint32_t v, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", digits, v);
    return text;
}

std::string Column(uint32_t v, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%*u", width, v);
    return text;
}

std::string List(const uint32_t* v, uint32_t n) {
    std::string s;
    for (uint32_t i = 0; i < n; ++i) s += (i ? " " : "") + std::to_string(v[i]);
    return s;
}

void CardText(const VcCardSnapshot& c, std::string& out) {
    out += "card " + std::to_string(c.card) + ": answers\n";
    out += "  ids " + Hex(c.idWords[0], 4) + " " + Hex(c.idWords[1], 4) + " " + Hex(c.idWords[2], 4) + " " +
           Hex(c.idWords[3], 4) + ", free " + std::to_string(c.isFree) + ", range requests " +
           (c.rangeFails ? "fail" : "answer") + "\n";
    for (int r = 0; r < 2; ++r)
        out += "  range " + std::to_string(r) + ": start " + Hex(c.rangeStart[r], 8) + " length " +
               Hex(c.rangeLength[r], 8) + "\n";
    out += "  card state " + std::to_string(c.cardState) + ", dma status " + std::to_string(c.dmaStatus) +
           ", multi playing " + std::to_string(c.multiPlaying) + ", dma errors " + std::to_string(c.dmaErrorCount) +
           "\n";
    out += "  fpga revision " + Hex(c.fpgaRevision, 4) + ", clock measurement " + std::to_string(c.clockMeasurement) +
           "\n";
    out += "  clock mode " + std::to_string(c.clockMode) + ", auto sync " + std::to_string(c.autoSync) + "\n";
    out += "  record sync " + List(c.recordSync, kVcRecordStreams) + "\n";
    out += "  playback sync " + List(c.playbackSync, kVcPlaybackStreams) + "\n";
    out += "  record state " + List(c.recordState, kVcRecordStreams) + "\n";
    out += "  playback state " + List(c.playbackState, kVcPlaybackStreams) + "\n";
    out += "  channel   left  right control\n";
    for (uint32_t ch = 0; ch < kVcChannels; ++ch)
        out += "  " + Column(ch, 7) + Column(c.left[ch], 7) + Column(c.right[ch], 7) + Column(c.control[ch], 8) + "\n";
    out += "  defaults: word " + std::to_string(c.defaultsWord) + ", clock mode " + std::to_string(c.defaultClockMode) +
           ", auto sync " + std::to_string(c.defaultAutoSync) + "\n";
    out += "  defaults: record sync " + List(c.defaultRecordSync, kVcRecordStreams) + "\n";
    out += "  defaults: playback sync " + List(c.defaultPlaybackSync, kVcPlaybackStreams) + "\n";
    out += "  defaults: channel   left  right control\n";
    for (uint32_t ch = 0; ch < kVcChannels; ++ch)
        out += "            " + Column(ch, 7) + Column(c.defaultLeft[ch], 7) + Column(c.defaultRight[ch], 7) +
               Column(c.defaultControl[ch], 8) + "\n";
}

// Small writer for one JSON object: keys in the order given, numbers unsigned.
class JsonWriter {
public:
    void Open(const char* key, char bracket) {
        Key(key);
        out_ += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        out_ += bracket;
        first_ = false;
    }
    void Number(const char* key, uint32_t v) {
        Key(key);
        out_ += std::to_string(v);
    }
    void Bool(const char* key, bool v) {
        Key(key);
        out_ += v ? "true" : "false";
    }
    void Array(const char* key, const uint32_t* v, uint32_t n) {
        Open(key, '[');
        for (uint32_t i = 0; i < n; ++i) Number(nullptr, v[i]);
        Close(']');
    }
    const std::string& Text() const { return out_; }

private:
    // A null key is an array element.
    void Key(const char* key) {
        if (!first_) out_ += ',';
        first_ = false;
        if (key) out_ += std::string("\"") + key + "\":";
    }
    std::string out_;
    bool first_ = true;
};

void Channels(JsonWriter& w, const char* key, const uint32_t* left, const uint32_t* right, const uint32_t* control) {
    w.Open(key, '[');
    for (uint32_t ch = 0; ch < kVcChannels; ++ch) {
        w.Open(nullptr, '{');
        w.Number("left", left[ch]);
        w.Number("right", right[ch]);
        w.Number("control", control[ch]);
        w.Close('}');
    }
    w.Close(']');
}

void CardJson(JsonWriter& w, const VcCardSnapshot& c) {
    w.Open(nullptr, '{');
    w.Number("card", c.card);
    w.Bool("answers", c.answers != 0);
    w.Bool("rangeFails", c.rangeFails != 0);
    w.Array("idWords", c.idWords, 4);
    w.Number("isFree", c.isFree);
    w.Array("rangeStart", c.rangeStart, 2);
    w.Array("rangeLength", c.rangeLength, 2);
    Channels(w, "channels", c.left, c.right, c.control);
    w.Number("clockMode", c.clockMode);
    w.Number("autoSync", c.autoSync);
    w.Array("recordSync", c.recordSync, kVcRecordStreams);
    w.Array("playbackSync", c.playbackSync, kVcPlaybackStreams);
    w.Open("defaults", '{');
    Channels(w, "channels", c.defaultLeft, c.defaultRight, c.defaultControl);
    w.Number("clockMode", c.defaultClockMode);
    w.Number("autoSync", c.defaultAutoSync);
    w.Array("recordSync", c.defaultRecordSync, kVcRecordStreams);
    w.Array("playbackSync", c.defaultPlaybackSync, kVcPlaybackStreams);
    w.Number("word", c.defaultsWord);
    w.Close('}');
    w.Array("recordState", c.recordState, kVcRecordStreams);
    w.Array("playbackState", c.playbackState, kVcPlaybackStreams);
    w.Number("cardState", c.cardState);
    w.Number("dmaStatus", c.dmaStatus);
    w.Number("multiPlaying", c.multiPlaying);
    w.Number("dmaErrorCount", c.dmaErrorCount);
    w.Number("fpgaRevision", c.fpgaRevision);
    w.Number("clockMeasurement", c.clockMeasurement);
    w.Close('}');
}

}  // namespace

std::string FormatStatusText(const CardctlState& state) {
    const VcGlobalSnapshot& g = state.global;
    std::string out = "requests " + std::to_string(g.requestCount) + ", answer mask " + Hex(g.answerMask, 1) +
                      ", next client id " + Hex(g.nextClientId, 4) + "\n";
    out += "faults: status " + Hex(g.faultStatus, 8) + " for the next " + std::to_string(g.faultStatusCalls) +
           " requests, fail the next " + std::to_string(g.faultFailCalls) + ", delay " + std::to_string(g.delayMs) +
           " ms\n";
    for (const VcCardSnapshot& c : state.cards) {
        if (c.answers) CardText(c, out);
        else out += "card " + std::to_string(c.card) + ": does not answer\n";
    }
    return out;
}

std::string FormatStatusJson(const CardctlState& state) {
    const VcGlobalSnapshot& g = state.global;
    JsonWriter w;
    w.Open(nullptr, '{');
    w.Number("requestCount", g.requestCount);
    w.Number("answerMask", g.answerMask);
    w.Number("nextClientId", g.nextClientId);
    w.Open("fault", '{');
    w.Number("status", g.faultStatus);
    w.Number("statusCalls", g.faultStatusCalls);
    w.Number("failCalls", g.faultFailCalls);
    w.Number("delayMs", g.delayMs);
    w.Close('}');
    w.Open("cards", '[');
    for (const VcCardSnapshot& c : state.cards) CardJson(w, c);
    w.Close(']');
    w.Close('}');
    return w.Text() + "\n";
}
