#include "windows/SyncLayout.h"

namespace {

int Trunc(double v) { return static_cast<int>(v); }

// Header texts sit by hand in their columns: extra left offset per column (reference pixels).
constexpr int kHeaderShift[CSyncLayout::kStreams] = {8, 7, 0, 0, 0, 0, -4, -4, -4, -2};

// The group rows add some of their scaled terms rounded to single precision.
double Single(double v) { return static_cast<float>(v); }

}  // namespace

CSyncLayout::CSyncLayout(int baseX, int baseY) {
  scaleX = static_cast<float>(baseX * 0.1854125);
  scaleY = static_cast<float>(baseY * 0.1073125);
  const double sx = static_cast<float>(scaleX * 0.6741724533135576);
  const double sy = (baseY * 0.1073125) * 0.5824111822947;

  tileWidth = Trunc(880 * sx);
  tileHeight = Trunc(150 * sy);
  tileStepX = 80;
  tileStepY = 76;

  gap = Trunc(5 * sx);
  columnWidth = Trunc(75 * sx);
  columnPitch = columnWidth + gap;
  headerInset = Trunc(14 * sx);
  topMargin = Trunc(10 * sy);
  columnHeight = Trunc(70 * sy);
  rowDistance = Trunc(20 * sy);
  s30 = Trunc(30 * sy);
  s5 = Trunc(5 * sy);
  s27 = Trunc(27 * sy);
  s18 = Trunc(18 * sy);
  bandTop = topMargin + columnHeight + topMargin;

  for (int i = 0; i < kStreams; ++i) {
    const int left = i * columnPitch;
    columnFrame[i] = {gap + left, topMargin, (i + 1) * columnPitch, topMargin + columnHeight};
    headerText[i].left = Trunc(headerInset + gap + left + kHeaderShift[i] * sx);
    headerText[i].top = s5 + topMargin;
    if (i == 0) {
      headerText[i].right = Trunc(columnPitch - 5 * sx);
      headerText[i].bottom = s27 + topMargin;
    } else {
      headerText[i].right = Trunc((i + 1) * columnPitch - 2 * sx);
      headerText[i].bottom = s27 + s5 + topMargin;
    }
    playbackSwitch[i] = {2 * gap + left, topMargin + s30 + rowDistance};
    recordSwitch[i] = {2 * gap + left, topMargin + s30};
  }

  const int buttonRow = bandTop + s18;
  okPoint = {Trunc(738 * sx), buttonRow};

  auto group = [&](int reference, int textOffset) {
    Group g;
    g.left = Trunc(reference * sx);
    const int right = Trunc(g.left + Single(194 * sx));
    g.frame = {g.left, bandTop, right, Trunc(bandTop + Single(40 * sy))};
    g.text = {Trunc(g.left + textOffset * sx), Trunc(bandTop + Single(3 * sy)), right,
              Trunc(bandTop + 22 * sy)};
    g.enableAllPoint = {Trunc(g.left + Single(10 * sx)), buttonRow};
    g.disableAllPoint = {Trunc(g.left + Single(110 * sx)), buttonRow};
    return g;
  };
  recordGroup = group(206, 63);
  playbackGroup = group(405, 60);
}
