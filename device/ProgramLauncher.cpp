#include "device/ProgramLauncher.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// WinExec's values up to 31 are its errors (no such file, no such path, ...).
bool LaunchByCommandLine([[maybe_unused]] const char* commandLine) {
#ifdef _WIN32
    return WinExec(commandLine, SW_SHOWNORMAL) > 31;
#else
    return false;
#endif
}

std::atomic<ProgramLauncher> g_launcher{nullptr};

}  // namespace

void SetProgramLauncher(ProgramLauncher launcher) { g_launcher.store(launcher); }

bool LaunchProgram(const char* commandLine) {
    const ProgramLauncher launcher = g_launcher.load();
    return (launcher ? launcher : LaunchByCommandLine)(commandLine);
}
