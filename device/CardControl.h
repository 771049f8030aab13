#pragma once
// The device object the windows use: owns one driver link and offers one method
// per card operation. Every method takes the card index (position in the card
// table) and returns a status: 0, a driver status, or one of the panel's codes.
//
// Threads: the card operations may be called from any thread (the link serializes
// them); QueryStatus is the one the program's poll thread calls. Construction,
// Release and destruction belong to the owner's thread, and only once no other
// thread can call an operation any more (its polls stopped): Release frees the link
// under them.
#include <cstdint>
#include <memory>

#include "device/DriverPort.h"
#include "device/Status.h"

class CDriverLink;

class CCardControl {
public:
    CCardControl();                                     // port from MakeDriverPort()
    explicit CCardControl(std::unique_ptr<DriverPort> port);
    ~CCardControl();
    CCardControl(const CCardControl&) = delete;
    CCardControl& operator=(const CCardControl&) = delete;

    uint32_t GetCardCount() const;
    // Closes and frees the link; later operations return kBadCardIndex.
    void Release();
    // The link, for reading its card table (CDriverLink::Card); null after Release.
    CDriverLink* link() const { return link_.get(); }

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
    std::unique_ptr<CDriverLink> link_;
};
