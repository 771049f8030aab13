#pragma once
// The one road to the driver: the device, one request and one reply buffer shared
// by every request, the client identifier and the card table. Requests may come
// from the user-interface thread and the timer thread, so each whole request
// (fill, call, read back) runs under the link's lock, taken in turn.
#include <cstdint>
#include <memory>
#include <mutex>

#include "device/CardRecord.h"
#include "device/DriverPort.h"
#include "device/TicketLock.h"

constexpr uint32_t kMaxCards = 4;
constexpr uint32_t kRequestSize = 36;
constexpr uint32_t kReplySize = 28;
extern const char kDevicePath[];

class CDriverLink {
public:
    explicit CDriverLink(std::unique_ptr<DriverPort> port);
    ~CDriverLink();
    CDriverLink(const CDriverLink&) = delete;
    CDriverLink& operator=(const CDriverLink&) = delete;

    // Opens the device and discovers the cards; no failure is reported.
    void Build();
    void Close();

    // One request under the lock: fill(request) writes the words, then the call;
    // read(reply) runs only when the call succeeded. False when the call failed.
    template <typename Fill, typename Read>
    bool Transact(uint32_t code, Fill&& fill, Read&& read) {
        std::lock_guard<CTicketLock> hold(lock_);
        if (!device || !request || !reply) return false;
        fill(request.get());
        if (!device->Control(code, request.get(), kRequestSize, reply.get(), kReplySize)) return false;
        read(reply.get());
        return true;
    }

    uint32_t clientId = 0;
    std::unique_ptr<uint8_t[]> request;
    std::unique_ptr<uint8_t[]> reply;
    std::unique_ptr<DriverPort> device;
    uint32_t cardCount = 0;
    CardRecord cards[kMaxCards] = {};

private:
    void RequestClientId();
    void DiscoverCard(uint32_t driverIndex);
    bool IsDuplicate(uint16_t idWord1, uint16_t idWord2) const;
    void ReadRange(CardRecord& card, uint32_t range);

    CTicketLock lock_;
};
