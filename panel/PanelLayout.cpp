#include "panel/PanelLayout.h"

namespace {

int Trunc(double v) { return static_cast<int>(v); }

// The channel names sit by hand inside their strips: left edge this far from the
// strip's left, right edge this far in from the strip's right (nominal pixels).
constexpr int kNameLeft[CPanelLayout::kChannels] = {14, 13, 6, 6, 6, 6, 5, 5, 5, 5};
constexpr int kNameRightInset[CPanelLayout::kChannels] = {5, 2, 2, 2, 2, 2, 2, 2, 2, 2};

}  // namespace

int CPanelLayout::X(int n) const { return Trunc(static_cast<double>(fx) * n); }
int CPanelLayout::Y(int n) const { return Trunc(fy * n); }

CPanelLayout::CPanelLayout(int baseX, int baseY) {
  sx = static_cast<float>(baseX * 0.1854125);
  sy = static_cast<float>(baseY * 0.1073125);
  fx = static_cast<float>(sx * 0.6741724533135576);
  fy = sy * 0.5824111822947;
  const double dfx = fx;
  const double dsx = sx;

  tileWidth = X(800);
  tileHeight = Y(340);
  tileStepX = 80;
  tileStepY = 76;
  knobRadius = X(5);

  const int pitch = X(60) + X(5);
  for (int k = 0; k < kChannels; ++k) {
    const int x0 = X(95) + k * pitch;
    const int stripRight = x0 + X(60);
    stripFrame[k] = {x0, Y(10), stripRight, Y(10) + Trunc(Y(137) + Y(48) + 88 * fy)};
    knobPoint[k] = {x0 + X(19), Y(10) + Y(24)};
    balanceText[k] = {x0 + X(10), Y(49) + Y(10), Trunc(stripRight - 2 * dfx),
                      Y(20) + Y(49) + Y(10)};
    faderPoint[k] = {x0 + X(24), Y(10) + Y(70)};
    volumeText[k] = {x0 + X(11), Y(196) + Y(10), Trunc(stripRight - 2 * dsx),
                     Y(196) + Y(10) + Y(20)};
    switchPoint[k] = {x0 + X(5), Y(216) + Y(10)};
    playLampPoint[k] = {x0 + X(9), Y(10) + Y(248)};
    if (k < kRecordChannels) recLampPoint[k] = {x0 + X(9), Y(10) + Y(260)};
    nameText[k] = {x0 + X(kNameLeft[k]), Y(10) + Y(5), stripRight - X(kNameRightInset[k]),
                   Y(10) + Y(32)};
  }

  const int l = X(10);
  const int t1 = Y(10);
  const int t2 = Y(94);
  const int t3 = Y(180);
  const int d = Trunc(t3 + 81 * fy);
  const int frameLeft = Trunc(l - 6 * dfx);
  const int frameRight = Trunc(l + 79 * dfx);

  clockFrame = {frameLeft, t1, frameRight, Trunc(t1 + 65 * fy)};
  clockText = {Trunc(frameLeft + 4 * dfx), Trunc(t1 + 2 * fy), Trunc(frameLeft + 35 * dfx),
               Trunc(t1 + 19 * fy)};
  clockListPoint = {Trunc(l - 2 * dfx), Trunc(t1 + 20 * fy)};
  rateListPoint = {Trunc(l - 2 * dfx), Trunc(t1 + 43 * fy)};

  syncFrame = {frameLeft, t2, frameRight, Trunc(t2 + 67 * fy)};
  syncText = {Trunc(l - 2 * dfx), Trunc(t2 + 2 * fy), Trunc(l + 77 * dfx), Trunc(t2 + 19 * fy)};
  autoSyncPoint = {l, Trunc(t2 + 20 * fy)};
  customPoint = {l, Trunc(t2 + 43 * fy)};

  controlFrame = {frameLeft, t3, frameRight, Trunc(t3 + 75 * fy)};
  volumeBalanceText = {Trunc(l - 2 * dfx), Trunc(t3 + 2 * fy), Trunc(l + 77 * dfx),
                       Trunc(t3 + 13 * fy)};
  controlText = {Trunc(l + 17 * dfx), Trunc(t3 + 13 * fy), Trunc(l + 77 * dfx),
                 Trunc(t3 + 24 * fy)};
  enableAllPoint = {l, Trunc(t3 + 30 * fy)};
  disableAllPoint = {l, Trunc(t3 + 53 * fy)};
  deviceStatusText = {Trunc(l + 8 * dfx), Trunc(d + 2 * fy), Trunc(l + 79 * dfx),
                      Trunc(d + 13 * fy)};

  const int bottomRow = Y(300);
  audioSettingsPoint = {X(4), bottomRow};
  metersPoint = {X(119), bottomRow};
  diagnosticsPoint = {X(242), bottomRow};
  saveDefaultsPoint = {X(361), bottomRow};
  retrieveDefaultsPoint = {X(476), bottomRow};
  helpPoint = {X(605), bottomRow};
  // In single precision 2 fy is exactly 2 at 8 x 16, which keeps OK at its nominal 298.
  const float twoFy = static_cast<float>(2 * fy);
  okPoint = {X(676), Trunc(bottomRow - static_cast<double>(twoFy))};
}
