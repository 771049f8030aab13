#include "fuzz/ReplayPort.h"

#include <cstring>

void ReplayPort::Open(const char* path) {
    record_.openedPath = path ? path : "";
    ++record_.opens;
}

bool ReplayPort::Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) {
    Rule(requestSize == sizeof(PortCall::request) && replySize == sizeof(PortCall::reply),
         "every request goes out with the 36-byte request and the 28-byte reply buffer");
    Rule(request && reply, "every request goes out with both buffers");
    PortCall call = {};
    call.code = code;
    std::memcpy(call.request, request, requestSize);

    const uint8_t shape = in_.Byte();
    call.answered = (shape & 3) != 0;
    auto* bytes = static_cast<uint8_t*>(reply);
    switch (shape >> 2 & 3) {
    case 0: break;  // writes nothing: the reply buffer keeps the last answer
    case 1: in_.Fill(bytes, in_.Pick(replySize + 1)); break;
    default: in_.Fill(bytes, replySize); break;
    }
    // Mostly a success status, so that the outputs of a good answer get checked.
    if (shape & 0x30) std::memset(bytes, 0, 4);
    if ((shape & 0xC0) == 0xC0) in_.Fill(static_cast<uint8_t*>(request), in_.Pick(requestSize + 1));

    std::memcpy(call.requestAfter, request, requestSize);
    std::memcpy(call.reply, reply, replySize);
    record_.calls.push_back(call);
    return call.answered;
}

void ReplayPort::Close() { ++record_.closes; }
