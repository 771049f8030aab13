// Every resource of the inventory loads under its identifier with its listed
// size, depth, text or caption.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

struct BitmapCase {
    UINT id;
    LONG width;
    LONG height;
};

const BitmapCase kBitmaps[] = {
    {137, 80, 80},
    {140, 67, 18}, {141, 67, 18}, {142, 67, 18}, {149, 67, 18},
    {143, 67, 18}, {144, 67, 18}, {145, 67, 18}, {150, 67, 18},
    {146, 53, 30}, {147, 53, 30}, {148, 53, 30}, {151, 53, 30},
    {155, 15, 127}, {180, 15, 127},
    {156, 15, 32}, {179, 15, 32},
    {158, 25, 25}, {187, 25, 25},
    {159, 65, 23}, {160, 65, 23},
    {162, 61, 18}, {163, 61, 18},
    {164, 76, 18}, {165, 76, 18}, {166, 76, 18}, {167, 76, 18},
    {172, 106, 18}, {173, 106, 18},
    {174, 106, 18}, {175, 106, 18},
    {181, 76, 18}, {182, 76, 18},
    {183, 76, 18}, {184, 76, 18},
    {185, 76, 18}, {186, 76, 18},
    {189, 80, 18}, {190, 80, 18},
    {191, 106, 18}, {192, 106, 18},
    {194, 92, 18}, {195, 92, 18},
    {196, 72, 18}, {197, 72, 18},
    {198, 72, 18}, {199, 72, 18},
    {200, 130, 18},
    {203, 24, 32},
    {204, 114, 18}, {205, 114, 18},
    {209, 44, 10}, {210, 44, 10}, {212, 44, 10}, {213, 44, 10}, {216, 44, 10}, {217, 44, 10},
};

// The stored picture itself: its header says size, depth and compression.
const BITMAPINFOHEADER* StoredHeader(UINT id) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (found == nullptr) {
        return nullptr;
    }
    return static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, found)));
}

TEST(ResourceBitmaps, EveryBitmapHasItsSizeAndTwentyFourBitsUncompressed) {
    for (const BitmapCase& c : kBitmaps) {
        const BITMAPINFOHEADER* header = StoredHeader(c.id);
        ASSERT_NE(header, nullptr) << "bitmap " << c.id;
        EXPECT_EQ(header->biWidth, c.width) << "bitmap " << c.id;
        EXPECT_EQ(header->biHeight, c.height) << "bitmap " << c.id;  // bottom-up
        EXPECT_EQ(header->biBitCount, 24) << "bitmap " << c.id;
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB)) << "bitmap " << c.id;

        HBITMAP loaded = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(loaded, nullptr) << "bitmap " << c.id;
        BITMAP info{};
        ::GetObjectA(loaded, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, c.width) << "bitmap " << c.id;
        EXPECT_EQ(info.bmHeight, c.height) << "bitmap " << c.id;
        ::DeleteObject(loaded);
    }
}

struct StringCase {
    UINT id;
    const char* text;
};

const StringCase kStrings[] = {
    {101, "&About Tessor..."},
    {102, "ADAT 1-2"}, {103, "ADAT 3-4"}, {104, "ADAT 5-6"}, {105, "ADAT 7-8"},
    {106, "Analog"}, {107, "S/PDIF"}, {108, "Balance"}, {109, "Volume"},
    {111, "Zelk MIRVA PCI Wave Device Settings"}, {112, "Version 1.0"},
    {115, "Stream 1-2"}, {116, "Stream 3-4"}, {117, "Stream 5-6"}, {118, "Stream 7-8"},
    {119, "Settings"}, {120, "Synchronization"},
    {121, "Auto Sync must be disabled to use custom settings."},
    {122, "Zelk MIRVA PCI Custom Synchronization"},
    {123, "Volume/Balance"}, {124, "Control"}, {125, "Sync Record"}, {126, "Sync Playback"},
    {127, "Clock"}, {128, "Internal Clock"}, {129, "ADAT Clock"}, {130, "S/PDIF Clock"},
    {131, "Word Clock"}, {132, "44100 Hz"}, {133, "48000 Hz"},
    {134, "Zelk MIRVA PCI Audio Settings"}, {135, "Zelk MIRVA PCI Diagnostics"},
    {136, "Card State:"}, {137, "DMA Status:"}, {138, "DMA Errors:"}, {139, "FPGA Revision:"},
    {140, "Clock Frequency:"}, {141, "Uninitialized"}, {142, "Ready - No Multi Playing"},
    {143, "Opened - No Multi Playing"}, {144, "Opened - Multi Playing"}, {145, "Error Condition"},
    {146, "DMA engine uninitialized"}, {147, "Setup"}, {148, "Audio DMA's active"},
    {149, "Audio DMA error"}, {150, "Ready - Multi Playing"}, {151, "Idle"},
    {152, "Device Status:"},
};

TEST(ResourceStrings, EveryStringHasItsExactText) {
    for (const StringCase& c : kStrings) {
        EXPECT_EQ(LoadResString(c.id), c.text) << "string " << c.id;
    }
}

TEST(ResourceStrings, NoticeIsOneLineOfItsOwn) {
    const std::string notice = LoadResString(IDS_NOTICE);
    EXPECT_FALSE(notice.empty());
    EXPECT_EQ(notice.find_first_of("\r\n"), std::string::npos);
}

// Records the window that a template makes and closes it at once.
class CTemplateProbe : public CDialog {
public:
    explicit CTemplateProbe(UINT id) : CDialog(id) {}
    std::string caption;
    RECT client{};
    RECT templateUnits{0, 0, 4, 8};
    LOGFONTA font{};
    LONG_PTR exStyle = 0;
    HWND firstChild = nullptr;

protected:
    BOOL OnInitDialog() override {
        caption = GetWindowText();
        GetClientRect(&client);
        ::MapDialogRect(m_hWnd, &templateUnits);
        ::GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)), sizeof font, &font);
        exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
        firstChild = ::GetWindow(m_hWnd, GW_CHILD);
        PostMessage(WM_COMMAND, IDOK, 0);
        return TRUE;
    }
};

struct TemplateCase {
    UINT id;
    const char* caption;
    // Where the platform's dialog base units are 8 x 16, the template's own font,
    // 8-point "MS Sans Serif", makes a dialog unit 6/4 by 13/8 pixels.
    LONG clientWidth;
    LONG clientHeight;
    DWORD style;
    bool appWindow;
};

// The head of an extended dialog template, as stored.
#pragma pack(push, 2)
struct DialogExHead {
    WORD version;
    WORD signature;
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
};
#pragma pack(pop)

constexpr DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

const TemplateCase kTemplates[] = {
    {IDD_ABOUTBOX, "About Tessor", 323, 89, kPopupStyle, false},
    {IDD_WAVESETTINGS, "Zelk MIRVA PCI Wave Device Settings", 747, 328, 0x90CA00C0, true},
    {IDD_CUSTOMSYNC, "MIRVA PCI Custom Synchronization", 825, 150, kPopupStyle, false},
    {IDD_DIAGNOSTICS, "Dialog", 294, 167, kPopupStyle, false},
};

TEST(ResourceTemplates, EachTemplateGivesItsCaptionFontAndClientSizeWithoutControls) {
    const LONG baseUnits = ::GetDialogBaseUnits();
    ASSERT_EQ(LOWORD(baseUnits), 8);
    ASSERT_EQ(HIWORD(baseUnits), 16);
    for (const TemplateCase& c : kTemplates) {
        CTemplateProbe probe(c.id);
        ASSERT_EQ(probe.DoModal(), IDOK) << "template " << c.id;
        EXPECT_STREQ(probe.font.lfFaceName, "MS Sans Serif") << "template " << c.id;
        EXPECT_EQ(probe.templateUnits.right, 6) << "template " << c.id;
        EXPECT_EQ(probe.templateUnits.bottom, 13) << "template " << c.id;
        EXPECT_EQ(probe.caption, c.caption) << "template " << c.id;
        EXPECT_EQ(probe.client.right - probe.client.left, c.clientWidth) << "template " << c.id;
        EXPECT_EQ(probe.client.bottom - probe.client.top, c.clientHeight) << "template " << c.id;
        EXPECT_EQ((probe.exStyle & WS_EX_APPWINDOW) != 0, c.appWindow) << "template " << c.id;
        EXPECT_EQ(probe.firstChild, nullptr) << "template " << c.id;
    }
}

// The styles as stored: only the main window's template is extended.
TEST(ResourceTemplates, StoredStylesAreExactlyTheListedOnes) {
    for (const TemplateCase& c : kTemplates) {
        HINSTANCE module = AfxGetResourceHandle();
        HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(c.id), RT_DIALOG);
        ASSERT_NE(found, nullptr) << "template " << c.id;
        const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, found)));
        const bool extended = words[0] == 1 && words[1] == 0xFFFF;
        EXPECT_EQ(extended, c.id == IDD_WAVESETTINGS) << "template " << c.id;
        DWORD style = 0;
        DWORD exStyle = 0;
        if (extended) {
            const auto* header = reinterpret_cast<const DialogExHead*>(words);
            style = header->style;
            exStyle = header->exStyle;
        } else {
            const auto* header = reinterpret_cast<const DLGTEMPLATE*>(words);
            style = header->style;
            exStyle = header->dwExtendedStyle;
        }
        EXPECT_EQ(style, c.style) << "template " << c.id;
        EXPECT_EQ(exStyle, c.appWindow ? static_cast<DWORD>(WS_EX_APPWINDOW) : 0u) << "template " << c.id;
    }
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDir {
    WORD reserved;
    WORD type;
    WORD count;
    IconDirEntry entries[1];
};
#pragma pack(pop)

TEST(ResourceIcon, GroupHoldsThirtyTwoAndSixteenPixelsInSixteenColours) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* dir = static_cast<const IconDir*>(::LockResource(::LoadResource(module, found)));
    ASSERT_EQ(dir->count, 2);
    std::set<std::tuple<LONG, LONG, WORD>> images;  // width, height, bits per pixel
    for (int i = 0; i < dir->count; ++i) {
        HRSRC image = ::FindResourceA(module, MAKEINTRESOURCEA(dir->entries[i].id), RT_ICON);
        ASSERT_NE(image, nullptr);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, image)));
        images.emplace(header->biWidth, header->biHeight / 2, header->biBitCount);  // colour and mask rows
    }
    EXPECT_EQ(images, (std::set<std::tuple<LONG, LONG, WORD>>{{32, 32, 4}, {16, 16, 4}}));

    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(
            ::LoadImageA(module, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP mask{};
        ::GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, size);
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);
        ::DestroyIcon(icon);
    }
}

}  // namespace
