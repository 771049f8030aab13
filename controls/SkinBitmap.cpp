#include "controls/SkinBitmap.h"

CSkinBitmap::CSkinBitmap() = default;

CSkinBitmap::~CSkinBitmap() {
    // A bitmap still selected into a context cannot be deleted.
    selected_.reset();
    memory_.reset();
}

namespace {

bool Overlap(const RECT& a, const RECT& b) {
    RECT both{};
    return ::IntersectRect(&both, &a, &b) != FALSE;
}

}  // namespace

CSkinBitmap::Source::Source(const CSkinBitmap& bitmap, const CDC& drawnOn)
    : hold_(bitmap.drawing_), dc_(bitmap.Memory(drawnOn)) {}

const CDC& CSkinBitmap::Memory(const CDC& drawnOn) const {
    if (memory_ == nullptr || memory_->m_hDC == nullptr) {
        selected_.reset();
        memory_ = std::make_unique<CMemDC>(drawnOn);
        selected_ = std::make_unique<CSelectObject>(*memory_, *this);
    }
    const int mode = drawnOn.GetMapMode();
    if (memory_->GetMapMode() != mode) memory_->SetMapMode(mode);
    return *memory_;
}

bool CSkinBitmap::WindowRect(const POINT& topLeft, RECT* rect) const {
    BITMAP info{};
    if (GetBitmap(&info) == 0) return false;
    *rect = {topLeft.x, topLeft.y, topLeft.x + info.bmWidth - 1, topLeft.y + info.bmHeight - 1};
    return true;
}

void CSkinBitmap::Draw(CDC* dc, int x, int y) const {
    BITMAP info{};
    if (GetBitmap(&info) == 0) return;

    // The size is converted as an extent (scaling only), so a moved origin of dc
    // shifts where the copy lands but not how much of the bitmap is copied.
    POINT extent[2] = {{0, 0}, {info.bmWidth, info.bmHeight}};
    dc->DPtoLP(extent, 2);
    const int width = extent[1].x - extent[0].x;
    const int height = extent[1].y - extent[0].y;

    const Source source(*this, *dc);
    // The memory context's origins are zero, so its logical (0, 0) is the bitmap's corner.
    dc->BitBlt(x, y, width, height, source.Dc(), 0, 0, SRCCOPY);
}

void CSkinBitmap::DrawStretched(CDC* dc, int x, int y, int width, int height) const {
    BITMAP info{};
    if (GetBitmap(&info) == 0) return;

    // Both sizes are converted as extents, as in Draw, so a moved origin of dc shifts
    // where the copy lands but neither how large it is nor which pixels it takes.
    POINT extent[3] = {{0, 0}, {width, height}, {info.bmWidth, info.bmHeight}};
    dc->DPtoLP(extent, 3);

    const Source source(*this, *dc);
    // The memory context's origins are zero, so its logical (0, 0) is the bitmap's corner.
    dc->StretchBlt(x, y, extent[1].x - extent[0].x, extent[1].y - extent[0].y, source.Dc(), 0, 0,
                   extent[2].x - extent[0].x, extent[2].y - extent[0].y, SRCCOPY);
}

HBRUSH CSkinBitmap::CellBrush(const CDC& memory, int width, int height) const {
    if (cellBrush_.GetSafeHandle() != nullptr && cellSize_.cx == width && cellSize_.cy == height) {
        return cellBrush_.Handle();
    }
    cellBrush_.DeleteObject();
    CBitmap cell;
    // Compatible with the bitmap selected in memory, so the cell keeps its pixels' format.
    cell.Attach(::CreateCompatibleBitmap(memory.m_hDC, width, height));
    {
        CMemDC cellDc(memory);
        CSelectObject selected(cellDc, cell);
        cellDc.BitBlt(0, 0, width, height, memory, 0, 0, SRCCOPY);
    }
    cellBrush_.CreatePatternBrush(cell);
    cellSize_ = SIZE{width, height};
    return cellBrush_.Handle();
}

void CSkinBitmap::DrawTiled(CDC* dc, int lastX, int lastY, int stepX, int stepY) const {
    BITMAP info{};
    if (GetBitmap(&info) == 0 || lastX < 0 || lastY < 0 || stepX <= 0 || stepY <= 0 || stepX > info.bmWidth ||
        stepY > info.bmHeight) {
        return;
    }
    const int lastColumn = lastX / stepX * stepX;
    const int lastRow = lastY / stepY * stepY;
    {
        // Each copy keeps only its top-left step-sized cell where the copies after it
        // cover the rest: a pattern of that cell from the first copy's corner.
        const Source source(*this, *dc);
        CSelectObject brush(*dc, CellBrush(source.Dc(), stepX, stepY));
        POINT origin{0, 0};
        dc->LPtoDP(&origin);
        const CBrushOriginScope aligned(*dc, origin);
        dc->PatBlt(0, 0, lastColumn + stepX, lastRow + stepY, PATCOPY);
    }
    // The copies of the last column, then of the last row, show whole: where they
    // reach beyond the pattern and can be seen, they are drawn again over it.
    RECT clip{};
    dc->GetClipBox(&clip);
    const RECT right{lastColumn + stepX, 0, lastColumn + info.bmWidth, lastRow + info.bmHeight};
    const RECT bottom{0, lastRow + stepY, lastColumn + info.bmWidth, lastRow + info.bmHeight};
    if (Overlap(right, clip)) {
        for (int y = 0; y <= lastRow; y += stepY) Draw(dc, lastColumn, y);
    }
    if (Overlap(bottom, clip)) {
        for (int x = 0; x <= lastColumn; x += stepX) Draw(dc, x, lastRow);
    }
}
