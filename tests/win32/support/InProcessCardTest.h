#pragma once
// A test on the in-process virtual card: one card present, its request log read
// and cleared by the test, its state changed behind the program's back.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "emulator/InProcessPort.h"
#include "tests/win32/support/LoggedRequest.h"

// How the card refuses a change.
enum class Refusal {
    kCallFails,     // the call fails
    kDriverStatus,  // the driver answers with a status and keeps what it held
    kReadFailsToo,  // the call fails, and so does the read after it
};
constexpr Refusal kEveryRefusal[] = {Refusal::kCallFails, Refusal::kDriverStatus, Refusal::kReadFailsToo};

class InProcessCardTest : public ::testing::Test {
protected:
    // Device objects built from now on reach the card.
    void SetUp() override;
    void TearDown() override;

    // The requests logged since the last call, oldest first; clears the log.
    std::vector<LoggedRequest> TakeLog();
    void ClearLog() { TakeLog(); }
    uint32_t RequestCount();
    // Changes the card in slot, or the card's driver.
    void OnCard(const std::function<void(VcCard& card)>& change, uint32_t slot = 0);
    void OnCore(const std::function<void(CVirtualCard& core)>& change);
    // The card refuses the next change sent to it.
    void RefuseNextChange(Refusal refusal);

    std::shared_ptr<CVirtualCardDevice> card;
};
