#include <gtest/gtest.h>

#include "laws_printers.h"
#include "windows/AboutLayout.h"

namespace {

TEST(AboutLayout, TableOfBothBaseUnits) {
  const struct {
    int bx, by, width, height;
    LayoutRect title, version, notice;
    LayoutPoint ok;
  } rows[] = {
      {8, 16, 320, 80, {50, 10, 260, 25}, {50, 30, 260, 45}, {50, 50, 260, 65}, {250, 60}},
      {10, 20, 400, 100, {62, 12, 325, 31}, {62, 37, 325, 56}, {62, 62, 325, 81}, {312, 75}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bx);
    const AboutLayout layout = ComputeAboutLayout(row.bx, row.by);
    EXPECT_EQ(layout.width, row.width);
    EXPECT_EQ(layout.height, row.height);
    EXPECT_EQ(layout.stepX, 54);
    EXPECT_EQ(layout.stepY, 44);
    EXPECT_EQ(layout.titleRect, row.title);
    EXPECT_EQ(layout.versionRect, row.version);
    EXPECT_EQ(layout.noticeRect, row.notice);
    EXPECT_EQ(layout.okButtonPos, row.ok);
  }
}

}  // namespace
