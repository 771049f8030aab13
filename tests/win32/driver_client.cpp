// A second client of the driver for the tests: a process of its own that reaches
// the card through the program's own device layer.
//   driver_client get-levels <channel>               prints "<status> <left> <right>"
//   driver_client set-levels <channel> <left> <right> prints "<status>"
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/CardControl.h"

int main(int argc, char** argv) {
    CCardControl control;
    if (control.GetCardCount() == 0) {
        std::fprintf(stderr, "driver_client: no card\n");
        return 1;
    }
    const auto number = [&](int i) { return static_cast<uint16_t>(std::strtoul(argv[i], nullptr, 0)); };
    if (argc == 3 && std::strcmp(argv[1], "get-levels") == 0) {
        uint16_t left = 0;
        uint16_t right = 0;
        const int32_t status = control.GetChannelLevels(0, number(2), &left, &right);
        std::printf("%d %u %u\n", static_cast<int>(status), left, right);
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "set-levels") == 0) {
        std::printf("%d\n", static_cast<int>(control.SetChannelLevels(0, number(2), number(3), number(4))));
        return 0;
    }
    std::fprintf(stderr, "driver_client: bad arguments\n");
    return 2;
}
