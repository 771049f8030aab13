#include <gtest/gtest.h>

#include "controls/PopupPlacement.h"

namespace {

void ExpectRect(const PopupRect& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

// An 80 x 18 face has a 79 x 17 client area; four items of 13 make a list 54 high.
PopupRect FaceAt(int x, int y) { return {x, y, x + 79, y + 17}; }

TEST(PopupPlacement, OpensBelowWhenThereIsRoom) {
  ExpectRect(PlacePopup(FaceAt(100, 500), 4, 13, 740), 99, 519, 180, 573);
}

TEST(PopupPlacement, OpensAboveWhenTheScreenEndsBelow) {
  ExpectRect(PlacePopup(FaceAt(100, 700), 4, 13, 740), 99, 644, 180, 698);
}

TEST(PopupPlacement, PinsToTheBottomWhenNeitherSideHasRoom) {
  ExpectRect(PlacePopup(FaceAt(100, 40), 4, 13, 100), 99, 46, 180, 100);
}

// Each side at its boundary: room equal to the list's 54 rows is refused, one row more
// is taken. The room below is screen - face bottom - 2, above it face top - 2.
struct BoundaryCase {
  const char* name;
  int faceTop, screen;
  int top, bottom;
};

const BoundaryCase kBoundaries[] = {
    {"54 below, plenty above: above", 500, 573, 444, 498},
    {"55 below: below", 500, 574, 519, 573},
    {"54 below, 54 above: pinned", 56, 129, 75, 129},
    {"54 below, 55 above: above", 57, 130, 1, 55},
    {"55 below, 54 above: below", 56, 130, 75, 129},
};

TEST(PopupPlacement, RoomMustExceedTheListStrictlyOnEitherSide) {
  for (const BoundaryCase& c : kBoundaries) {
    SCOPED_TRACE(c.name);
    ExpectRect(PlacePopup(FaceAt(100, c.faceTop), 4, 13, c.screen), 99, c.top, 180, c.bottom);
  }
}

TEST(PopupPlacement, EmptyListIsTwoPixelsOfBorder) {
  ExpectRect(PlacePopup(FaceAt(0, 0), 0, 13, 740), -1, 19, 80, 21);
}

}  // namespace
