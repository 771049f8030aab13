#pragma once
// Shared rig of the device tests: a card control over the in-process virtual card,
// with the requests the card received at hand.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "device/CardControl.h"
#include "device/DriverLink.h"
#include "emulator/InProcessPort.h"
#include "emulator/VirtualCardDevice.h"

struct VirtualCardRig {
    std::shared_ptr<CVirtualCardDevice> card = std::make_shared<CVirtualCardDevice>();
    std::unique_ptr<CCardControl> control;

    // Configures the card before discovery, then builds the control over it.
    CCardControl& Build(const std::function<void(CVirtualCard&)>& configure = {}) {
        if (configure) card->WithCore([&](CVirtualCard& core) { configure(core); });
        control = std::make_unique<CCardControl>(std::make_unique<CInProcessPort>(card));
        return *control;
    }

    uint32_t RequestCount() {
        return card->WithCore([](CVirtualCard& core) { return core.RequestCount(); });
    }

    std::vector<VcLogEntry> Log() {
        return card->WithCore([](CVirtualCard& core) {
            std::vector<VcLogEntry> entries;
            for (uint32_t i = 0; i < core.LogSize(); ++i) entries.push_back(core.LogEntry(i));
            return entries;
        });
    }

    VcLogEntry Last() { return Log().back(); }

    template <typename F>
    auto Core(F&& f) {
        return card->WithCore(std::forward<F>(f));
    }

    CardRecord Record(uint32_t index) const { return control->link()->Card(index); }
};

// Gives a card of the table a reference other than the 0 that discovery leaves, so
// that the request word carrying it can be told from an empty one.
struct DriverLinkPeer {
    static void SetCardRef(CDriverLink& link, uint32_t index, uint32_t cardRef) { link.cards[index].cardRef = cardRef; }
};

inline uint32_t Word32(const uint8_t* bytes, uint32_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

inline uint16_t Word16(const uint8_t* bytes, uint32_t offset) {
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// A port whose every answer a test scripts: fill the reply and say whether the call succeeded.
class ScriptedPort : public DriverPort {
public:
    using Answer = std::function<bool(uint32_t code, const uint8_t* request, uint8_t* reply)>;
    explicit ScriptedPort(Answer answer) : answer_(std::move(answer)) {}
    void Open(const char*) override {}
    bool Control(uint32_t code, void* request, uint32_t, void* reply, uint32_t) override {
        return answer_(code, static_cast<const uint8_t*>(request), static_cast<uint8_t*>(reply));
    }
    void Close() override {}

private:
    Answer answer_;
};
