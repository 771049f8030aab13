#pragma once
// The device object the windows use: owns one driver link and offers one method
// per card operation. Every method takes the card index (position in the card
// table) and returns a status: 0, a driver status, or one of the panel's codes.
//
// When the driver goes from under the link (a stopped driver, a removed card), the
// first operation that finds the link gone closes it and builds a new one on the
// same port, discovering the cards again, at most once per reopen interval, until a
// new link finds a card; in between, operations fail at once. The card index then
// addresses the new table.
//
// Threads: the card operations may be called from any thread (the link serializes
// them); QueryStatus is the one the timer thread calls. An operation holds the link
// it started on, so a link built again under it stays alive until it ends; one
// thread builds at a time, the others go on failing meanwhile. Construction, Release
// and destruction belong to the owner's thread, and only once no other thread can
// call an operation any more (its polls stopped): Release frees the link under them.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "device/DriverPort.h"
#include "device/Status.h"

class CDriverLink;

class CCardControl {
public:
    // What the owner hears about its link, on the thread of the operation that found it.
    enum class LinkEvent {
        kGone,  // the driver went: operations fail until a new link finds cards
        kBack,  // a new link found cards: what was read before may be stale
    };
    using LinkNotice = std::function<void(LinkEvent event)>;
    // Milliseconds of a monotonic clock.
    using Clock = uint64_t (*)();
    static constexpr uint32_t kDefaultReopenIntervalMs = 1000;

    CCardControl();                                     // port from MakeDriverPort()
    explicit CCardControl(std::unique_ptr<DriverPort> port);
    ~CCardControl();
    CCardControl(const CCardControl&) = delete;
    CCardControl& operator=(const CCardControl&) = delete;

    uint32_t GetCardCount() const;
    // Closes and frees the link; later operations return kBadCardIndex.
    void Release();
    // The link, for reading its card table (CDriverLink::Card); null after Release.
    // Valid until the link is built again.
    CDriverLink* link() const { return Current().get(); }

    // The shortest time between two builds of the link.
    void SetReopenInterval(uint32_t milliseconds);
    // Who hears of the link going and coming back; null for nobody. Returns once a
    // notice under way on another thread has been given.
    void SetLinkNotice(LinkNotice notice);
    // The clock the reopen interval is measured with (tests give their own).
    void SetClock(Clock clock);

    int32_t ResetCardStart(int32_t card);
    bool ResetCardStop(int32_t card);
    int32_t QueryStatus(int32_t card, uint32_t bank, uint32_t selector, uint32_t item, uint32_t* out);
    int32_t ReadRegister(int32_t card, uint32_t space, uint32_t size, uint32_t mode, uint32_t address,
                         uint32_t* out);
    int32_t SetClockMode(int32_t card, uint32_t mode);
    int32_t GetClockMode(int32_t card, uint32_t* out);
    int32_t SetChannelLevels(int32_t card, uint16_t channel, uint16_t left, uint16_t right);
    int32_t GetChannelLevels(int32_t card, uint16_t channel, uint16_t* left, uint16_t* right);
    int32_t GetChannelControl(int32_t card, uint16_t channel, uint8_t* flag);
    int32_t SetChannelControl(int32_t card, uint16_t channel, uint32_t flag);
    int32_t GetStreamSync(int32_t card, uint32_t direction, uint16_t stream, uint8_t* flag);
    int32_t SetStreamSync(int32_t card, uint32_t direction, uint16_t stream, uint32_t flag);
    int32_t SetAutoSync(int32_t card, uint32_t flag);
    int32_t GetAutoSync(int32_t card, uint8_t* flag);
    int32_t SaveDefaults(int32_t card);
    int32_t RetrieveDefaults(int32_t card);
    int32_t FreeCard(int32_t card);
    int32_t ReadDefaultsWord(int32_t card, uint32_t* out);
    // Returns 0 whatever happens; *started (when given) says whether the program started.
    int32_t LaunchAudioSettings(int32_t card, const char* argument, bool* started = nullptr);
    // The program LaunchAudioSettings starts, its argument after a blank.
    static constexpr char kAudioSettingsProgram[] = "MirvaCP.exe";

private:
    std::shared_ptr<CDriverLink> Current() const;
    // The link to send on: the current one, built again first when it has gone and
    // the interval has passed.
    std::shared_ptr<CDriverLink> Link();
    std::shared_ptr<CDriverLink> Reopen(const std::shared_ptr<CDriverLink>& gone);
    void Notify(LinkEvent event);

    mutable std::mutex linkLock_;  // guards link_, the pointer only
    std::shared_ptr<CDriverLink> link_;
    std::mutex reopenLock_;        // one build at a time; guards lastBuildMs_
    uint64_t lastBuildMs_ = 0;
    std::atomic<bool> goneNoticed_{false};  // the driver went, and no link since found a card
    std::atomic<uint32_t> reopenIntervalMs_{kDefaultReopenIntervalMs};
    std::atomic<Clock> clock_;
    std::mutex noticeLock_;
    LinkNotice notice_;
};
