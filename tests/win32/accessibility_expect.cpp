#include "tests/win32/accessibility_expect.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/win32/accessibility_support.h"
#include "tests/win32/support/MessagePump.h"

namespace {

// The mark's event: one the program never raises.
constexpr DWORD kMarkEvent = EVENT_OEM_DEFINED_START;

std::string TempFile() {
    char dir[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "acc", 0, file);
    return file;
}

std::string ReaderCommandLine() {
    std::string program = ACCESSIBILITY_CLIENT;
    for (char& c : program) c = c == '/' ? '\\' : c;
    return "\"Z:" + program + "\"";
}

bool Start(std::string commandLine, PROCESS_INFORMATION* process) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process)) {
        return true;
    }
    ADD_FAILURE() << "cannot start " << commandLine;
    return false;
}

std::vector<std::string> ReadLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

void ExpectReads(HWND control, const ExpectedReading& expected) {
    SCOPED_TRACE(expected.name);
    ASSERT_NE(control, nullptr);
    const AccessibleReading r = ReadAccessible(control);
    ASSERT_EQ(r.found, S_OK);
    EXPECT_EQ(r.name, expected.name);
    EXPECT_EQ(r.role, expected.role);
    EXPECT_EQ(r.value, expected.value);
    EXPECT_EQ(r.state, expected.state);
    EXPECT_EQ(r.defaultAction, expected.action);
}

void ReadersCard(VcCard& c) {
    for (int k = 0; k < 10; ++k) {
        c.settings.control[k] = 1;
        c.settings.left[k] = c.settings.right[k] = 65535;
    }
    c.settings.right[0] = 31744;
    c.settings.left[2] = c.settings.right[2] = 32845;
    c.settings.clockMode = 0;
    for (uint32_t& s : c.playbackState) s = 0;
    for (uint32_t& s : c.recordState) s = 0;
}

std::vector<std::string> RunReader(HWND control, const std::vector<std::string>& args) {
    const std::string file = TempFile();
    std::string commandLine =
        ReaderCommandLine() + " " + std::to_string(reinterpret_cast<INT_PTR>(control)) + " \"" + file + "\"";
    for (const std::string& arg : args) commandLine += " \"" + arg + "\"";
    PROCESS_INFORMATION process{};
    std::vector<std::string> lines;
    if (!Start(commandLine, &process)) return lines;
    EXPECT_TRUE(PumpUntilEnded(process.hProcess, 30000)) << "the reader did not end";
    ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    lines = ReadLines(file);
    ::DeleteFileA(file.c_str());
    return lines;
}

EventListener::EventListener() : file_(TempFile()) {
    const std::string commandLine =
        ReaderCommandLine() + " events " + std::to_string(::GetCurrentProcessId()) + " \"" + file_ + "\"";
    if (!Start(commandLine, &process_)) return;
    ready_ = PumpLookingUntil([&] {
        const std::vector<std::string> lines = Lines();
        return !lines.empty() && lines[0] == "ready";
    });
    EXPECT_TRUE(ready_) << "the reader set no hook";
}

EventListener::~EventListener() {
    if (process_.hProcess == nullptr) return;
    ::PostThreadMessageA(process_.dwThreadId, WM_QUIT, 0, 0);
    if (::WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) ::TerminateProcess(process_.hProcess, 1);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
    ::DeleteFileA(file_.c_str());
}

std::vector<std::string> EventListener::Lines() const { return ReadLines(file_); }

std::vector<HeardEvent> EventListener::Mark(HWND window) {
    const LONG mark = ++marks_;
    ::NotifyWinEvent(kMarkEvent, window, OBJID_CLIENT, mark);
    std::vector<HeardEvent> heard;
    std::vector<std::string> lines;
    const bool arrived = PumpLookingUntil([&] {
        lines = Lines();
        heard.clear();
        for (size_t i = taken_; i < lines.size(); ++i) {
            std::istringstream fields(lines[i]);
            unsigned long event = 0;
            long long hwnd = 0;
            long object = 0;
            long child = 0;
            if (!(fields >> event >> hwnd >> object >> child)) return false;  // a line still being written
            const HWND handle = reinterpret_cast<HWND>(static_cast<INT_PTR>(hwnd));
            if (event == kMarkEvent && handle == window && child == mark) {
                taken_ = i + 1;
                return true;
            }
            heard.push_back({static_cast<DWORD>(event), handle, object, child});
        }
        return false;
    });
    EXPECT_TRUE(arrived) << "the reader never heard mark " << mark;
    return heard;
}
