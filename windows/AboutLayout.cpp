#include "windows/AboutLayout.h"

namespace {
int Trunc(double v) { return static_cast<int>(v); }
}  // namespace

AboutLayout ComputeAboutLayout(int baseX, int baseY) {
  const double sx = baseX * 0.1854125;
  const float sy = static_cast<float>(baseY * 0.1073125);
  const double kx = static_cast<float>(sx * 0.6741724533135576);
  const double ky = static_cast<float>(sy * 0.5824111822947);

  AboutLayout layout;
  layout.width = Trunc(sx * 216);
  layout.height = Trunc(static_cast<double>(sy) * 47);
  layout.stepX = 54;
  layout.stepY = 44;
  layout.titleRect = {Trunc(kx * 50), Trunc(ky * 10), Trunc(kx * 260), Trunc(ky * 25)};
  layout.versionRect = {Trunc(kx * 50), Trunc(ky * 30), Trunc(kx * 260), Trunc(ky * 45)};
  layout.noticeRect = {Trunc(kx * 50), Trunc(ky * 50), Trunc(kx * 260), Trunc(ky * 65)};
  layout.okButtonPos = {Trunc(kx * 250), Trunc(ky * 60)};
  return layout;
}
