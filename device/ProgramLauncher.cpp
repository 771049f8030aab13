#include "device/ProgramLauncher.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The sibling programs report nothing back; their outcome is ignored.
void LaunchByCommandLine([[maybe_unused]] const char* commandLine) {
#ifdef _WIN32
    WinExec(commandLine, SW_SHOWNORMAL);
#endif
}

std::atomic<ProgramLauncher> g_launcher{nullptr};

}  // namespace

void SetProgramLauncher(ProgramLauncher launcher) { g_launcher.store(launcher); }

void LaunchProgram(const char* commandLine) {
    const ProgramLauncher launcher = g_launcher.load();
    (launcher ? launcher : LaunchByCommandLine)(commandLine);
}
