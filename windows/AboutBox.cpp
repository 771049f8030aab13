#include "windows/AboutBox.h"

#include "controls/BitmapCache.h"
#include "controls/SkinDialogBaseUnits.h"
#include "controls/WindowPainting.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

constexpr int kEmblemX = 10;
constexpr int kEmblemY = 10;
constexpr int kTextPointTenths = 90;
// Tile positions are 16-bit numbers; a bound beyond them would never be reached.
constexpr int kLastTileCoordinate = 0xFFFF;

std::unique_ptr<AboutLayout> LayoutForBaseUnits() {
    const LONG units = SkinDialogBaseUnits();
    return std::make_unique<AboutLayout>(ComputeAboutLayout(LOWORD(units), HIWORD(units)));
}

int TileBound(int bound) { return bound < kLastTileCoordinate ? bound : kLastTileCoordinate; }

}  // namespace

BEGIN_MESSAGE_MAP(CAboutBox, CDialog)
    ON_MESSAGE(WM_CREATE, CAboutBox::OnCreate)
    ON_MESSAGE(WM_USER, CAboutBox::OnUserNotify)
    ON_MESSAGE(WM_PAINT, CAboutBox::OnPaint)
END_MESSAGE_MAP()

CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX), m_pLayout(LayoutForBaseUnits()) {}

CAboutBox::~CAboutBox() = default;

LRESULT CAboutBox::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) return -1;
    const POINT at = {m_pLayout->okButtonPos.x, m_pLayout->okButtonPos.y};
    m_btnOK.accessibleName = "OK";
    return m_btnOK.Create(at, this, IDC_ABOUT_OK, IDB_OK, IDB_OK, IDB_OK_DOWN, IDB_OK_DOWN) ? 0 : -1;
}

LRESULT CAboutBox::OnUserNotify(WPARAM wParam, LPARAM) {
    if (wParam == IDC_ABOUT_OK) OnOK();
    return 0;
}

LRESULT CAboutBox::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    const AboutLayout& l = *m_pLayout;
    TileBackground(&dc, TileBound(l.width), TileBound(l.height), l.stepX, l.stepY);
    if (const CSkinBitmap* emblem = LoadSkinBitmap(IDB_EMBLEM)) emblem->Draw(&dc, kEmblemX, kEmblemY);

    CBkModeScope transparent(dc, TRANSPARENT);
    CFont font;
    font.CreatePointFont(kTextPointTenths, "Arial");
    CSelectObject selected(dc, font);
    DrawResString(dc, IDS_TITLE, ToRect(l.titleRect));
    DrawResString(dc, IDS_VERSION, ToRect(l.versionRect));
    DrawResString(dc, IDS_NOTICE, ToRect(l.noticeRect));
    return 0;
}
