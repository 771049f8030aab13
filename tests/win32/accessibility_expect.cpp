#include "tests/win32/accessibility_expect.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/win32/accessibility_support.h"
#include "tests/win32/support/MessagePump.h"

namespace {

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

std::vector<std::string> RunReader(HWND control, const std::vector<std::string>& args) {
    const std::string file = TempFile();
    std::string commandLine =
        ReaderCommandLine() + " " + std::to_string(reinterpret_cast<INT_PTR>(control)) + " \"" + file + "\"";
    for (const std::string& arg : args) commandLine += " \"" + arg + "\"";
    PROCESS_INFORMATION process{};
    std::vector<std::string> lines;
    if (!Start(commandLine, &process)) return lines;
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    bool ended = false;
    while (!ended && ::GetTickCount64() < deadline) {
        ended = ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1000, QS_ALLINPUT) == WAIT_OBJECT_0;
        PumpMessages();
    }
    EXPECT_TRUE(ended) << "the reader did not end";
    ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    lines = ReadLines(file);
    ::DeleteFileA(file.c_str());
    return lines;
}
