#pragma once
// The one road to the driver: the device, one request and one reply buffer shared
// by every request, the client identifier and the card table.
//
// Threads: Build runs once, on the thread that makes the link, before any other
// thread can reach it; clientId and cardCount are written there and only read
// afterwards. Requests may then come from the user-interface thread and the timer
// thread: each whole request (fill, call, read back) runs under the link's lock, taken
// in turn, and the card table, which Free Card changes, is read only under that lock
// (Card, or the record handed to TransactCard). Close and destruction belong to
// the owner's thread, once no other thread can issue a request any more; TakePort
// may run on any thread, after the request in flight.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "device/CardRecord.h"
#include "device/DriverPort.h"
#include "device/TicketLock.h"
#include "device/Words.h"

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
    // Closes the device and hands the port over, for a new link to open it again;
    // this link sends nothing more.
    std::unique_ptr<DriverPort> TakePort();
    // Whether the device went from under the link (DriverPort::Gone): it sends nothing
    // more, and its owner builds a new link.
    bool Gone() const { return gone_.load(); }

    // One request under the lock: fill(request) writes the words, then the call;
    // read(reply) runs only when the call succeeded. False when the call failed.
    template <typename Fill, typename Read>
    bool Transact(uint32_t code, Fill&& fill, Read&& read) {
        std::lock_guard<CTicketLock> hold(lock_);
        return TransactLocked(code, fill, read);
    }

    // One request on the card at position `index` (below cardCount) under the lock:
    // words 0 and 1 carry the client identifier and the card's driver index, then
    // fill(request, record) writes the rest; read(reply, record) runs only when the
    // call succeeded, and may change the record.
    template <typename Fill, typename Read>
    bool TransactCard(uint32_t index, uint32_t code, Fill&& fill, Read&& read) {
        std::lock_guard<CTicketLock> hold(lock_);
        CardRecord& record = cards[index];
        return TransactLocked(
            code,
            [&](uint8_t* words) {
                PutWord32(words, 0, clientId);
                PutWord32(words, 4, record.driverIndex);
                fill(words, static_cast<const CardRecord&>(record));
            },
            [&](const uint8_t* reply) { read(reply, record); });
    }

    // A copy of the record at position `index`, taken under the lock; a zero record
    // for a position beyond the table.
    CardRecord Card(uint32_t index) const;

    uint32_t clientId = 0;
    uint32_t cardCount = 0;

private:
    template <typename Fill, typename Read>
    bool TransactLocked(uint32_t code, Fill&& fill, Read&& read) {
        if (!device || !request || !reply || gone_.load()) return false;
        fill(request.get());
        if (!device->Control(code, request.get(), kRequestSize, reply.get(), kReplySize)) {
            if (device->Gone()) gone_.store(true);
            return false;
        }
        read(reply.get());
        return true;
    }

    void RequestClientId();
    void DiscoverCard(uint32_t driverIndex);
    bool IsDuplicate(uint16_t idWord1, uint16_t idWord2) const;
    void ReadRange(CardRecord& card, uint32_t range);

    // Tests give cards references other than the 0 that discovery leaves, so that
    // the word carrying it can be told from an empty one.
    friend struct DriverLinkPeer;

    std::unique_ptr<uint8_t[]> request;
    std::unique_ptr<uint8_t[]> reply;
    std::unique_ptr<DriverPort> device;
    CardRecord cards[kMaxCards] = {};
    mutable CTicketLock lock_;
    std::atomic<bool> gone_{false};
};
