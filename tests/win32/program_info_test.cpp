// What Windows reads from the program files without running them: the version
// resource behind the file's properties, and the manifest it starts the program
// with. Both programs, the i686 product and the x86_64 build.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Program {
    const char* name;
    const char* path;
    DWORD binaryType;
};

const Program kPrograms[] = {
    {"i686", WAVE_PROGRAM_I686, SCS_32BIT_BINARY},
    {"x86_64", WAVE_PROGRAM_X86_64, SCS_64BIT_BINARY},
};

struct StringCase {
    const char* name;
    const char* value;
};

const StringCase kStrings[] = {
    {"CompanyName", "Zelk"},
    {"FileDescription", "MIRVA PCI Wave Device Settings"},
    {"ProductName", "Zelk MIRVA PCI Wave Device Settings"},
    {"FileVersion", WAVE_EXPECTED_VERSION},
    {"ProductVersion", WAVE_EXPECTED_VERSION},
    {"OriginalFilename", "WaveSettings.exe"},
};

// Windows Vista, 7, 8, 8.1 and 10 (which 11 shares).
const char* const kSupportedOs[] = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
};

const DWORD kVersionMs = MAKELONG(WAVE_EXPECTED_MINOR, WAVE_EXPECTED_MAJOR);
const DWORD kVersionLs = MAKELONG(0, WAVE_EXPECTED_PATCH);

std::vector<char> VersionBlock(const char* path) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    std::vector<char> block(size);
    if (size == 0 || !::GetFileVersionInfoA(path, 0, size, block.data())) {
        block.clear();
    }
    return block;
}

// The string under the file's first listed translation, as the file's properties
// look it up; empty when there is none.
std::string StringValue(std::vector<char>& block, const std::string& name) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                          &size) ||
        size < sizeof(Translation)) {
        return {};
    }
    char key[64];
    std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\", translations[0].language, translations[0].codePage);
    char* value = nullptr;
    if (!::VerQueryValueA(block.data(), (key + name).c_str(), reinterpret_cast<void**>(&value), &size) ||
        size == 0) {
        return {};
    }
    return std::string(value);
}

struct ModuleFree {
    void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using DataModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

// The manifest Windows starts the program with (RT_MANIFEST 1), lower-cased;
// empty when the file has none.
std::string Manifest(const char* path) {
    DataModule module(::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) {
        return {};
    }
    HRSRC found = ::FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (found == nullptr) {
        return {};
    }
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module.get(), found)));
    std::string text(data, ::SizeofResource(module.get(), found));
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ProgramInfo, BothPathsAreTheirArchitecturesPrograms) {
    for (const Program& p : kPrograms) {
        DWORD type = ~0u;
        ASSERT_TRUE(::GetBinaryTypeA(p.path, &type)) << p.name << ": no program at " << p.path;
        EXPECT_EQ(type, p.binaryType) << p.name;
    }
}

TEST(ProgramInfo, FixedVersionIsTheProjectVersion) {
    for (const Program& p : kPrograms) {
        std::vector<char> block = VersionBlock(p.path);
        ASSERT_FALSE(block.empty()) << p.name << ": no version resource in " << p.path;
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size)) << p.name;
        ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO)) << p.name;
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu) << p.name;
        EXPECT_EQ(fixed->dwFileVersionMS, kVersionMs) << p.name;
        EXPECT_EQ(fixed->dwFileVersionLS, kVersionLs) << p.name;
        EXPECT_EQ(fixed->dwProductVersionMS, kVersionMs) << p.name;
        EXPECT_EQ(fixed->dwProductVersionLS, kVersionLs) << p.name;
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP)) << p.name;
    }
}

TEST(ProgramInfo, NamesAndVersionTextsAreThoseTheFilePropertiesShow) {
    for (const Program& p : kPrograms) {
        std::vector<char> block = VersionBlock(p.path);
        ASSERT_FALSE(block.empty()) << p.name << ": no version resource in " << p.path;
        for (const StringCase& s : kStrings) {
            EXPECT_EQ(StringValue(block, s.name), s.value) << p.name << " " << s.name;
        }
    }
}

TEST(ProgramInfo, ManifestRunsAsInvokerOnTheListedWindowsWithTheOldLook) {
    for (const Program& p : kPrograms) {
        std::string manifest = Manifest(p.path);
        ASSERT_FALSE(manifest.empty()) << p.name << ": no manifest in " << p.path;
        EXPECT_TRUE(Has(manifest, "level=\"asinvoker\"")) << p.name;
        for (const char* os : kSupportedOs) {
            EXPECT_TRUE(Has(manifest, std::string("supportedos id=\"") + os + "\"")) << p.name << " " << os;
        }
        // Either would change the panel's pixels: scaling, or the themed controls.
        EXPECT_FALSE(Has(manifest, "dpiaware")) << p.name;
        EXPECT_FALSE(Has(manifest, "common-controls")) << p.name;
    }
}

}  // namespace
