#include "device/DriverLink.h"

#include <algorithm>
#include <new>

const char kDevicePath[] = "\\\\.\\ZelkWave";

namespace {

constexpr uint32_t kClientRequest = 4403;
constexpr uint32_t kCardRequest = 4411;
constexpr uint32_t kRangeRequest = 4491;

// A copy of the reply taken under the lock, for discovery to look at afterwards.
struct ReplyCopy {
    bool answered = false;
    uint8_t bytes[kReplySize] = {};

    bool Succeeded() const { return answered && GetWord32(bytes, 0) == 0; }
};

template <typename Fill>
ReplyCopy Ask(CDriverLink& link, uint32_t code, Fill&& fill) {
    ReplyCopy got;
    link.Transact(code, fill, [&](const uint8_t* answer) {
        got.answered = true;
        std::copy(answer, answer + kReplySize, got.bytes);
    });
    return got;
}

}  // namespace

CDriverLink::CDriverLink(std::unique_ptr<DriverPort> port) : device(std::move(port)) {}

CDriverLink::~CDriverLink() { Close(); }

void CDriverLink::Build() {
    cardCount = 0;
    std::fill(std::begin(cards), std::end(cards), CardRecord{});
    if (device) device->Open(kDevicePath);
    request.reset(new (std::nothrow) uint8_t[kRequestSize]());
    reply.reset(new (std::nothrow) uint8_t[kReplySize]());

    RequestClientId();
    for (uint32_t i = 0; i < kMaxCards; ++i) DiscoverCard(i);
}

void CDriverLink::Close() {
    std::lock_guard<CTicketLock> hold(lock_);
    if (device) device->Close();
    device.reset();
    request.reset();
    reply.reset();
}

std::unique_ptr<DriverPort> CDriverLink::TakePort() {
    std::lock_guard<CTicketLock> hold(lock_);
    if (device) device->Close();
    return std::move(device);
}

CardRecord CDriverLink::Card(uint32_t index) const {
    std::lock_guard<CTicketLock> hold(lock_);
    return index < kMaxCards ? cards[index] : CardRecord{};
}

void CDriverLink::RequestClientId() {
    const ReplyCopy got = Ask(*this, kClientRequest, [](uint8_t* words) { PutWord32(words, 4, 0); });
    if (got.Succeeded()) clientId = GetWord32(got.bytes, 4);
}

void CDriverLink::DiscoverCard(uint32_t driverIndex) {
    const ReplyCopy got = Ask(*this, kCardRequest, [&](uint8_t* words) {
        PutWord32(words, 0, clientId);
        PutWord32(words, 4, driverIndex);
    });
    if (!got.Succeeded()) return;
    if (IsDuplicate(GetWord16(got.bytes, 14), GetWord16(got.bytes, 16))) return;

    CardRecord& card = cards[cardCount];
    card.isFree = GetWord32(got.bytes, 24);
    card.idWord0 = GetWord16(got.bytes, 12);
    card.idWord1 = GetWord16(got.bytes, 14);
    card.idWord3 = GetWord16(got.bytes, 18);
    card.idWord2 = GetWord16(got.bytes, 16);
    card.driverIndex = driverIndex;
    ReadRange(card, 0);
    ReadRange(card, 1);
    ++cardCount;
}

bool CDriverLink::IsDuplicate(uint16_t idWord1, uint16_t idWord2) const {
    return std::any_of(cards, cards + cardCount, [&](const CardRecord& card) {
        return card.idWord1 == idWord1 && card.idWord2 == idWord2;
    });
}

void CDriverLink::ReadRange(CardRecord& card, uint32_t range) {
    const ReplyCopy got = Ask(*this, kRangeRequest, [&](uint8_t* words) {
        PutWord32(words, 0, clientId);
        PutWord32(words, 4, card.driverIndex);
        PutWord32(words, 8, range);
    });
    if (!got.Succeeded()) return;
    RangeRecord& r = card.ranges[range];
    r.infoA = GetWord32(got.bytes, 4);
    r.infoB = GetWord32(got.bytes, 8);
    r.first = GetWord32(got.bytes, 12);
    r.last = r.first + GetWord32(got.bytes, 16) - 1;
}
