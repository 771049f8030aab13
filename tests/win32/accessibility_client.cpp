// A screen reader's part in another process, writing what it met to a file:
//   accessibility_client <hwnd> <file>                 reads the window's accessible object
//   accessibility_client <hwnd> <file> action          runs its default action
//   accessibility_client <hwnd> <file> value <text>... sets each value in turn
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/win32/accessibility_support.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[1], nullptr, 10)));
    ComApartment com;
    AccessibleRef object(hwnd);
    FILE* out = std::fopen(argv[2], "w");
    if (out == nullptr) return 3;
    if (argc > 3 && std::string(argv[3]) == "value") {
        for (int i = 4; i < argc; ++i) std::fprintf(out, "%ld\n", static_cast<long>(object.SetValue(argv[i])));
    } else if (argc > 3) {
        std::fprintf(out, "%ld\n", static_cast<long>(object.DoDefaultAction()));
    } else {
        const AccessibleReading r = object.Read();
        std::fprintf(out, "%ld\n%s\n%ld\n%s\n%ld\n", static_cast<long>(r.found), r.name.c_str(), r.role,
                     r.value.c_str(), r.state);
    }
    std::fclose(out);
    return 0;
}
