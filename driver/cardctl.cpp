// cardctl: shows and changes the virtual card behind \\.\ZelkWave through the
// driver's private codes. Errors are one line on stderr and a nonzero status.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/CardctlCommand.h"
#include "driver/CardctlDevice.h"
#include "driver/CardctlFormat.h"

namespace {

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "cardctl: %s\n", message.c_str());
    return kFailed;
}

std::string Code(uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", code);
    return text;
}

int CallFailed(const CCardctlDevice& device, uint32_t code) {
    return Fail("request " + Code(code) + " failed (error " + std::to_string(device.lastError()) + ")");
}

int Refused(uint32_t code, uint32_t status) {
    return Fail("the driver refused request " + Code(code) + " (status " + Code(status) + ")");
}

template <typename Snapshot>
bool Read(CCardctlDevice& device, uint32_t code, uint32_t card, Snapshot& snapshot) {
    VcPrivateRequest request = {};
    request.card = card;
    return device.Send(code, &request, sizeof request, &snapshot, sizeof snapshot) && snapshot.status == kVcOk;
}

int ShowStatus(CCardctlDevice& device, bool json) {
    CardctlState state;
    if (!Read(device, kVcReadGlobal, 0, state.global)) return Fail("cannot read the driver's counters");
    for (uint32_t card = 0; card < kVcMaxCards; ++card)
        if (!Read(device, kVcReadCard, card, state.cards[card])) return Fail("cannot read card " + std::to_string(card));
    const std::string text = json ? FormatStatusJson(state) : FormatStatusText(state);
    std::fputs(text.c_str(), stdout);
    return 0;
}

int ShowCount(CCardctlDevice& device) {
    VcGlobalSnapshot global;
    if (!Read(device, kVcReadGlobal, 0, global)) return Fail("cannot read the driver's counters");
    std::printf("%u\n", global.requestCount);
    return 0;
}

int SendPrivate(CCardctlDevice& device, const CardctlCommand& command) {
    VcPrivateReply reply = {};
    if (!device.Send(command.code, &command.request, sizeof command.request, &reply, sizeof reply))
        return CallFailed(device, command.code);
    return reply.status == kVcOk ? 0 : Refused(command.code, reply.status);
}

// As a client of the protocol, in one request: the card does not check the client
// identifier, and a second request would use up an armed fault meant for the panel.
int SendPublic(CCardctlDevice& device, const CardctlCommand& command) {
    uint32_t reply[7] = {};
    if (!device.Send(command.code, command.frame, sizeof command.frame, reply, sizeof reply))
        return CallFailed(device, command.code);
    return reply[0] == kVcOk ? 0 : Refused(command.code, reply[0]);
}

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size) - 1);
    return utf8;
}

// The arguments as the user typed them, as UTF-8. The narrow arguments of main are
// converted to the code page by the platform, which maps characters it cannot show
// to look-alikes: full-width digits would become digits.
std::vector<std::string> WideArguments() {
    std::vector<std::string> texts;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return texts;
    for (int i = 0; i < count; ++i) texts.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return texts;
}

}  // namespace

int main() {
    const std::vector<std::string> arguments = WideArguments();
    std::vector<const char*> argv;
    for (const std::string& text : arguments) argv.push_back(text.c_str());
    CardctlCommand command;
    std::string error;
    if (!ParseCardctlCommand(static_cast<int>(argv.size()), argv.data(), command, error)) {
        std::fprintf(stderr, "cardctl: %s\n", error.c_str());
        return kBadArguments;
    }
    if (command.action == CardctlAction::Usage) {
        std::fputs(CardctlUsage(), stdout);
        return 0;
    }
    CCardctlDevice device;
    if (!device.Open())
        return Fail("the ZelkWave driver is not running (cannot open \\\\.\\ZelkWave, error " +
                    std::to_string(device.lastError()) + ")");
    switch (command.action) {
    case CardctlAction::Status: return ShowStatus(device, command.json);
    case CardctlAction::Count: return ShowCount(device);
    case CardctlAction::Private: return SendPrivate(device, command);
    case CardctlAction::Public: return SendPublic(device, command);
    case CardctlAction::Usage: break;
    }
    return 0;
}
