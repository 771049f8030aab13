#include "tests/win32/driver_harness.h"

#include <algorithm>
#include <vector>

#include "emulator/PrivateCodes.h"

namespace {

constexpr DWORD kProcessTimeoutMs = 60000;

// This build's programs, named by their Unix paths; Wine reaches them on Z:.
std::string WindowsPath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// An inheritable temporary file that is gone once the last handle closes.
class CCaptureFile {
public:
    CCaptureFile() {
        char dir[MAX_PATH];
        char name[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        GetTempFileNameA(dir, "drv", 0, name);
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        handle_ = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    }
    ~CCaptureFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    CCaptureFile(const CCaptureFile&) = delete;
    CCaptureFile& operator=(const CCaptureFile&) = delete;

    HANDLE handle() const { return handle_; }
    std::string Text() const {
        std::string text;
        SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(handle_, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
        // Console programs end their lines with CR LF in text mode; compare lines only.
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }

private:
    HANDLE handle_;
};

}  // namespace

ProcessResult RunProcess(const std::string& commandLine) {
    ProcessResult result;
    CCaptureFile out;
    CCaptureFile err;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.handle();
    startup.hStdError = err.handle();
    PROCESS_INFORMATION process = {};
    // As wide text, so that a program that reads its arguments as such gets them
    // unchanged by any code page.
    const int size = MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> line(static_cast<size_t>(std::max(size, 1)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, line.data(), size);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return result;
    CloseHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, kProcessTimeoutMs) == WAIT_OBJECT_0) {
        result.ran = GetExitCodeProcess(process.hProcess, &result.exitCode) != FALSE;
    } else {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hProcess);
    result.out = out.Text();
    result.err = err.Text();
    return result;
}

ProcessResult RunCardctl(const std::string& arguments) {
    return RunProcess("\"" + WindowsPath(WAVE_CARDCTL) + "\" " + arguments);
}

ProcessResult RunClient(const std::string& arguments) {
    return RunProcess("\"" + WindowsPath(WAVE_DRIVER_CLIENT) + "\" " + arguments);
}

bool ReadCardState(CJsonValue& state, std::string& error) {
    const ProcessResult r = RunCardctl("status --json");
    if (!r.ran || r.exitCode != 0) {
        error = "cardctl status --json failed: " + r.err;
        return false;
    }
    return CJsonValue::Parse(r.out, state, error);
}

bool StopDriver() {
    const ProcessResult r = RunProcess("net stop ZelkWave");
    return r.ran && r.exitCode == 0;
}

bool StartDriver() {
    const ProcessResult r = RunProcess("net start ZelkWave");
    return r.ran && r.exitCode == 0;
}

int LineCount(const std::string& text) {
    int lines = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || i + 1 == text.size()) ++lines;
    return lines;
}

CRawDevice::CRawDevice()
    : handle_(CreateFileA("\\\\.\\ZelkWave", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

CRawDevice::~CRawDevice() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool CRawDevice::Send(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize, DWORD* returned) {
    DWORD bytes = 0;
    const BOOL ok = DeviceIoControl(handle_, code, const_cast<void*>(in), inSize, out, outSize, &bytes, nullptr);
    lastError_ = ok ? 0 : GetLastError();
    if (returned) *returned = bytes;
    return ok != FALSE;
}

bool CRawDevice::ResetCard() {
    VcPrivateRequest request = {};
    VcPrivateReply reply = {};
    return Send(kVcResetToLoad, &request, sizeof request, &reply, sizeof reply) && reply.status == kVcOk;
}

uint32_t CRawDevice::RequestCount() {
    VcPrivateRequest request = {};
    VcGlobalSnapshot global = {};
    return Send(kVcReadGlobal, &request, sizeof request, &global, sizeof global) ? global.requestCount : 0xFFFFFFFFu;
}
