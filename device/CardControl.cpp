#include "device/CardControl.h"

#include <chrono>
#include <cstring>
#include <new>

#include "device/DriverLink.h"
#include "device/ProgramLauncher.h"
#include "device/Words.h"

namespace {

constexpr uint32_t kResetCardStart = 4408;
constexpr uint32_t kResetCardStop = 4409;
constexpr uint32_t kQueryStatus = 4412;
constexpr uint32_t kReadRegister = 4432;
constexpr uint32_t kSetClockMode = 4439;
constexpr uint32_t kGetClockMode = 4440;
constexpr uint32_t kSetChannelLevels = 4481;
constexpr uint32_t kGetChannelLevels = 4482;
constexpr uint32_t kGetChannelControl = 4483;
constexpr uint32_t kChannelControlOff = 4484;
constexpr uint32_t kChannelControlOn = 4485;
constexpr uint32_t kGetStreamSync = 4486;
constexpr uint32_t kSetStreamSync = 4487;
constexpr uint32_t kAutoSyncOff = 4488;
constexpr uint32_t kAutoSyncOn = 4489;
constexpr uint32_t kGetAutoSync = 4490;
constexpr uint32_t kSaveDefaults = 4495;
constexpr uint32_t kRetrieveDefaults = 4496;
constexpr uint32_t kFreeCard = 4499;
constexpr uint32_t kReadDefaultsWord = 4500;

constexpr uint16_t kMaxChannel = 10;
constexpr uint32_t kOutputItems = 12;  // selector 5 reads registers 74..85
constexpr uint32_t kClockMeasurementBias = 5;
constexpr size_t kCommandLineSize = 256;

bool IsOn(uint32_t flag) { return flag == 1; }

// Outputs are written only through these, so that a caller passing no pointer
// for a result it does not want is safe.
template <typename T>
void Deliver(T* out, T value) {
    if (out) *out = value;
}

uint8_t FlagFrom(const uint8_t* reply) { return GetWord32(reply, 4) != 0 ? 1 : 0; }
uint16_t Low16(const uint8_t* reply, uint32_t offset) { return static_cast<uint16_t>(GetWord32(reply, offset)); }

// Fill, call and read back, all under the link's lock, after the caller has checked
// the card index and the arguments. The status is reply word 0, or the call's failure.
template <typename Fill, typename Read>
int32_t OperateOnRecord(CDriverLink* link, int32_t card, uint32_t code, Fill&& fill, Read&& read) {
    int32_t status = kDriverCallFailed;
    link->TransactCard(static_cast<uint32_t>(card), code, fill, [&](const uint8_t* reply, CardRecord& record) {
        read(reply, record);
        status = static_cast<int32_t>(GetWord32(reply, 0));
    });
    return status;
}

// OperateOnRecord for the operations that only copy out of the reply.
template <typename Fill, typename Read>
int32_t Operate(CDriverLink* link, int32_t card, uint32_t code, Fill&& fill, Read&& read) {
    return OperateOnRecord(link, card, code, fill, [&](const uint8_t* reply, CardRecord&) { read(reply); });
}

uint64_t SteadyMilliseconds() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// The card index is compared unsigned, so negative indexes are out of range too.
bool ValidCard(const CDriverLink* link, int32_t card) {
    return link && static_cast<uint32_t>(card) < link->cardCount;
}

const auto kNoWords = [](uint8_t*, const CardRecord&) {};
const auto kNoOutputs = [](const uint8_t*) {};
const auto kCardRefOnly = [](uint8_t* words, const CardRecord& record) { PutWord32(words, 12, record.cardRef); };

}  // namespace

CCardControl::CCardControl() : CCardControl(MakeDriverPort()) {}

CCardControl::CCardControl(std::unique_ptr<DriverPort> port) : clock_(SteadyMilliseconds) {
    std::shared_ptr<CDriverLink> link(new (std::nothrow) CDriverLink(std::move(port)));
    if (link) link->Build();
    lastBuildMs_ = SteadyMilliseconds();
    link_ = std::move(link);
}

CCardControl::~CCardControl() { Release(); }

uint32_t CCardControl::GetCardCount() const {
    const std::shared_ptr<CDriverLink> link = Current();
    return link ? link->cardCount : 0;
}

void CCardControl::Release() {
    std::shared_ptr<CDriverLink> link;
    {
        std::lock_guard<std::mutex> hold(linkLock_);
        link = std::move(link_);
    }
    if (link) link->Close();
}

void CCardControl::SetReopenInterval(uint32_t milliseconds) { reopenIntervalMs_.store(milliseconds); }

void CCardControl::SetLinkNotice(LinkNotice notice) {
    std::lock_guard<std::mutex> hold(noticeLock_);
    notice_ = std::move(notice);
}

void CCardControl::SetClock(Clock clock) {
    std::lock_guard<std::mutex> hold(reopenLock_);
    clock_.store(clock);
    lastBuildMs_ = clock();
}

std::shared_ptr<CDriverLink> CCardControl::Current() const {
    std::lock_guard<std::mutex> hold(linkLock_);
    return link_;
}

std::shared_ptr<CDriverLink> CCardControl::Link() {
    std::shared_ptr<CDriverLink> link = Current();
    // A link built after the driver went that found no card (the driver back before
    // its card) is built again too, until one is found.
    if (!link || !(link->Gone() || goneNoticed_.load())) return link;
    return Reopen(link);
}

std::shared_ptr<CDriverLink> CCardControl::Reopen(const std::shared_ptr<CDriverLink>& gone) {
    // While another thread builds, this one fails at once rather than wait for a
    // discovery that a slow driver may stretch.
    std::unique_lock<std::mutex> building(reopenLock_, std::try_to_lock);
    if (!building.owns_lock()) return gone;
    std::shared_ptr<CDriverLink> link = Current();
    if (link != gone) return link;  // built meanwhile, or released
    if (!goneNoticed_) {
        goneNoticed_ = true;
        Notify(LinkEvent::kGone);
    }
    const uint64_t now = clock_.load()();
    if (now - lastBuildMs_ < reopenIntervalMs_.load()) return gone;
    lastBuildMs_ = now;

    std::shared_ptr<CDriverLink> fresh(new (std::nothrow) CDriverLink(gone->TakePort()));
    if (!fresh) return gone;
    fresh->Build();
    {
        std::lock_guard<std::mutex> hold(linkLock_);
        link_ = fresh;
    }
    if (!fresh->Gone() && fresh->cardCount > 0) {
        goneNoticed_ = false;
        Notify(LinkEvent::kBack);
    }
    return fresh;
}

void CCardControl::Notify(LinkEvent event) {
    std::lock_guard<std::mutex> hold(noticeLock_);
    if (notice_) notice_(event);
}

int32_t CCardControl::ResetCardStart(int32_t card) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(link.get(), card, kResetCardStart, kNoWords, kNoOutputs);
}

bool CCardControl::ResetCardStop(int32_t card) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return false;
    return Operate(link.get(), card, kResetCardStop, kNoWords, kNoOutputs) == 0;
}

namespace {

struct RegisterRead {
    uint32_t space, size, mode, address;
};

// One register read; `read` tells whether the call brought a value back.
int32_t ReadRegisterOnce(CDriverLink* link, int32_t card, const RegisterRead& r, uint32_t& value, bool& read) {
    return Operate(
        link, card, kReadRegister,
        [&](uint8_t* words, const CardRecord&) {
            PutWord32(words, 8, r.space);
            PutWord32(words, 16, r.size);
            PutWord32(words, 20, r.address);
            PutWord32(words, 24, r.mode & 0xFF);
        },
        [&](const uint8_t* reply) {
            value = GetWord32(reply, 4);
            read = true;
        });
}

// Selectors 2..11 of QueryStatus are register reads with fixed arguments.
RegisterRead RegisterForSelector(uint32_t selector, uint32_t bank, uint32_t item) {
    switch (selector) {
    case 2: return {bank, 1, 0, 35};
    case 3: return {0, 2, 0, 66};
    case 4: return {0, 1, 1, 73};
    case 5: return {0, 1, 1, 74 + item};
    case 6: return {0, 2, 0, 61};
    case 7: return {0, 1, 0, 24};
    case 8: return {0, 2, 0, 24};
    case 9: return {0, 2, 0, 62};
    case 10: return {1, 2, 0, 32};
    default: return {0, 1, 0, 4137};
    }
}

// A register read is tried a second time only when the first one did not succeed.
// `value` and `read` hold the last value that came back, if any did.
int32_t ReadRegisterTwice(CDriverLink* link, int32_t card, const RegisterRead& r, uint32_t& value, bool& read) {
    const int32_t status = ReadRegisterOnce(link, card, r, value, read);
    if (status == 0) return status;
    return ReadRegisterOnce(link, card, r, value, read);
}

}  // namespace

int32_t CCardControl::ReadRegister(int32_t card, uint32_t space, uint32_t size, uint32_t mode,
                                   uint32_t address, uint32_t* out) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    uint32_t value = 0;
    bool read = false;
    const int32_t status = ReadRegisterOnce(link.get(), card, {space, size, mode, address}, value, read);
    if (read) Deliver(out, value);
    return status;
}

int32_t CCardControl::QueryStatus(int32_t card, uint32_t bank, uint32_t selector, uint32_t item,
                                  uint32_t* out) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    if (selector < 2 || selector > 11) {
        return Operate(
            link.get(), card, kQueryStatus,
            [&](uint8_t* words, const CardRecord&) {
                PutWord32(words, 8, bank);
                PutWord32(words, 16, selector);
                PutWord32(words, 20, item);
            },
            [&](const uint8_t* reply) { Deliver(out, GetWord32(reply, 4)); });
    }
    if (selector == 5 && item >= kOutputItems) return kArgOutOfRange;

    uint32_t value = 0;
    bool read = false;
    const int32_t status = ReadRegisterTwice(link.get(), card, RegisterForSelector(selector, bank, item), value, read);
    if (selector == 2) {
        if (status == 0) Deliver(out, static_cast<uint32_t>((value & 0x10) == 0 ? 1 : 0));
        return status;
    }
    // The measurement register counts five short of the clock divider. A failed
    // call read nothing, so the caller's output stays as it was.
    if (selector == 6) value += kClockMeasurementBias;
    if (read) Deliver(out, value);
    return status;
}

int32_t CCardControl::SetClockMode(int32_t card, uint32_t mode) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(
        link.get(), card, kSetClockMode, [&](uint8_t* words, const CardRecord&) { PutWord32(words, 16, mode); },
        kNoOutputs);
}

int32_t CCardControl::GetClockMode(int32_t card, uint32_t* out) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(link.get(), card, kGetClockMode, kNoWords,
                   [&](const uint8_t* reply) { Deliver<uint32_t>(out, Low16(reply, 4)); });
}

int32_t CCardControl::SetChannelLevels(int32_t card, uint16_t channel, uint16_t left, uint16_t right) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    if (channel > kMaxChannel) return kArgOutOfRange;
    return Operate(
        link.get(), card, kSetChannelLevels,
        [&](uint8_t* words, const CardRecord& record) {
            PutWord32(words, 12, record.cardRef);
            PutWord16(words, 20, channel);
            PutWord16(words, 22, left);
            PutWord16(words, 24, right);
        },
        kNoOutputs);
}

int32_t CCardControl::GetChannelLevels(int32_t card, uint16_t channel, uint16_t* left, uint16_t* right) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    if (channel > kMaxChannel) return kArgOutOfRange;
    return Operate(
        link.get(), card, kGetChannelLevels,
        [&](uint8_t* words, const CardRecord& record) {
            PutWord32(words, 8, channel);
            PutWord32(words, 12, record.cardRef);
        },
        [&](const uint8_t* reply) {
            Deliver(left, Low16(reply, 4));
            Deliver(right, Low16(reply, 8));
        });
}

int32_t CCardControl::GetChannelControl(int32_t card, uint16_t channel, uint8_t* flag) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    if (channel > kMaxChannel) return kArgOutOfRange;
    return Operate(
        link.get(), card, kGetChannelControl,
        [&](uint8_t* words, const CardRecord& record) {
            PutWord32(words, 8, channel);
            PutWord32(words, 12, record.cardRef);
        },
        [&](const uint8_t* reply) { Deliver(flag, FlagFrom(reply)); });
}

int32_t CCardControl::SetChannelControl(int32_t card, uint16_t channel, uint32_t flag) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    if (channel > kMaxChannel) return kArgOutOfRange;
    return Operate(
        link.get(), card, IsOn(flag) ? kChannelControlOn : kChannelControlOff,
        [&](uint8_t* words, const CardRecord& record) {
            PutWord32(words, 8, channel);
            PutWord32(words, 12, record.cardRef);
        },
        kNoOutputs);
}

int32_t CCardControl::GetStreamSync(int32_t card, uint32_t direction, uint16_t stream, uint8_t* flag) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(
        link.get(), card, kGetStreamSync,
        [&](uint8_t* words, const CardRecord& record) {
            PutWord32(words, 12, record.cardRef);
            PutWord32(words, 16, direction);
            PutWord16(words, 20, stream);
        },
        [&](const uint8_t* reply) { Deliver(flag, FlagFrom(reply)); });
}

int32_t CCardControl::SetStreamSync(int32_t card, uint32_t direction, uint16_t stream, uint32_t flag) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(
        link.get(), card, kSetStreamSync,
        [&](uint8_t* words, const CardRecord& record) {
            PutWord32(words, 12, record.cardRef);
            PutWord32(words, 16, direction);
            PutWord16(words, 20, stream);
            PutWord16(words, 22, IsOn(flag) ? 1 : 0);
        },
        kNoOutputs);
}

int32_t CCardControl::SetAutoSync(int32_t card, uint32_t flag) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(link.get(), card, IsOn(flag) ? kAutoSyncOn : kAutoSyncOff, kCardRefOnly, kNoOutputs);
}

int32_t CCardControl::GetAutoSync(int32_t card, uint8_t* flag) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(link.get(), card, kGetAutoSync, kCardRefOnly,
                   [&](const uint8_t* reply) { Deliver(flag, FlagFrom(reply)); });
}

int32_t CCardControl::SaveDefaults(int32_t card) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(link.get(), card, kSaveDefaults, kCardRefOnly, kNoOutputs);
}

int32_t CCardControl::RetrieveDefaults(int32_t card) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(link.get(), card, kRetrieveDefaults, kCardRefOnly, kNoOutputs);
}

int32_t CCardControl::FreeCard(int32_t card) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    // The record changes inside the request, under the link's lock.
    return OperateOnRecord(link.get(), card, kFreeCard, kCardRefOnly, [](const uint8_t* reply, CardRecord& record) {
        if (GetWord32(reply, 0) != 0) return;
        record.cardRef = 0;
        record.isFree = 1;
    });
}

int32_t CCardControl::ReadDefaultsWord(int32_t card, uint32_t* out) {
    const std::shared_ptr<CDriverLink> link = Link();
    if (!ValidCard(link.get(), card)) return kBadCardIndex;
    return Operate(link.get(), card, kReadDefaultsWord, kNoWords,
                   [&](const uint8_t* reply) { Deliver<uint32_t>(out, Low16(reply, 4)); });
}

int32_t CCardControl::LaunchAudioSettings(int32_t, const char* argument, bool* started) {
    char commandLine[kCommandLineSize] = {};
    const size_t name = sizeof kAudioSettingsProgram - 1;
    std::memcpy(commandLine, kAudioSettingsProgram, name);
    commandLine[name] = ' ';
    const size_t prefix = name + 1;
    const size_t room = kCommandLineSize - 1 - prefix;
    const char* text = argument ? argument : "";
    size_t length = 0;
    while (length < room && text[length] != '\0') ++length;
    std::memcpy(commandLine + prefix, text, length);
    Deliver(started, LaunchProgram(commandLine));
    return 0;
}
