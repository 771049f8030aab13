#include "tests/win32/support/ThreadWindows.h"

namespace {

struct Search {
    const std::function<bool(HWND)>* keep;
    std::vector<HWND> found;
};

// A named callback: i686 needs the system's calling convention, which a lambda lacks.
BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if ((*search->keep)(window)) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> ThreadWindows(const std::function<bool(HWND)>& keep) {
    Search search{&keep, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}
