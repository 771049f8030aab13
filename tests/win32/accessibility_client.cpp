// A screen reader's part in another process: reads one window's accessible object
// through oleacc and writes what it read to a file, or runs its default action.
// Usage: accessibility_client <hwnd> <output file> [action]
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>

#include "tests/win32/accessibility_support.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[1], nullptr, 10)));
    ComApartment com;
    AccessibleRef object(hwnd);
    FILE* out = std::fopen(argv[2], "w");
    if (out == nullptr) return 3;
    if (argc > 3) {
        std::fprintf(out, "%ld\n", static_cast<long>(object.DoDefaultAction()));
    } else {
        const AccessibleReading r = object.Read();
        std::fprintf(out, "%ld\n%s\n%ld\n%s\n%ld\n", static_cast<long>(r.found), r.name.c_str(), r.role,
                     r.value.c_str(), r.state);
    }
    std::fclose(out);
    return 0;
}
