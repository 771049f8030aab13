#include "tests/win32/support/InProcessCardTest.h"

#include <cstring>

void InProcessCardTest::SetUp() {
    card = InstallInProcessCard();
    OnCore([](CVirtualCard& core) { core.SetCardCount(1); });
}

void InProcessCardTest::TearDown() { UninstallInProcessCard(); }

std::vector<LoggedRequest> InProcessCardTest::TakeLog() {
    std::vector<LoggedRequest> log;
    card->WithCore([&](CVirtualCard& core) {
        for (uint32_t i = 0; i < core.LogSize(); ++i) {
            LoggedRequest request;
            request.code = core.LogEntry(i).code;
            std::memcpy(request.bytes, core.LogEntry(i).bytes, sizeof request.bytes);
            log.push_back(request);
        }
        core.ClearLog();
        return 0;
    });
    return log;
}

uint32_t InProcessCardTest::RequestCount() {
    return card->WithCore([](CVirtualCard& core) { return core.RequestCount(); });
}

void InProcessCardTest::OnCard(const std::function<void(VcCard&)>& change, uint32_t slot) {
    card->WithCore([&](CVirtualCard& core) {
        change(core.Card(slot));
        return 0;
    });
}

void InProcessCardTest::OnCore(const std::function<void(CVirtualCard&)>& change) {
    card->WithCore([&](CVirtualCard& core) {
        change(core);
        return 0;
    });
}

void InProcessCardTest::RefuseNextChange(Refusal refusal) {
    OnCore([refusal](CVirtualCard& core) {
        if (refusal == Refusal::kDriverStatus) {
            core.AnswerStatusForNextCalls(5, 1);
        } else {
            core.FailNextCalls(refusal == Refusal::kReadFailsToo ? 2 : 1);
        }
    });
}
