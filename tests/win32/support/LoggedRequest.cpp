#include "tests/win32/support/LoggedRequest.h"

#include <cstring>

uint32_t LoggedRequest::Word(int offset) const {
    uint32_t value = 0;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

uint16_t LoggedRequest::Half(int offset) const {
    uint16_t value = 0;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

std::vector<uint32_t> Codes(const std::vector<LoggedRequest>& log) {
    std::vector<uint32_t> codes;
    for (const LoggedRequest& r : log) codes.push_back(r.code);
    return codes;
}
