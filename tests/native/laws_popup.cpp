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

TEST(PopupPlacement, RoomMustExceedTheListStrictly) {
  // Exactly 54 rows free below and above: neither side counts.
  ExpectRect(PlacePopup(FaceAt(100, 500), 4, 13, 573), 99, 444, 180, 498);
  ExpectRect(PlacePopup(FaceAt(100, 56), 4, 13, 129), 99, 75, 180, 129);
  ExpectRect(PlacePopup(FaceAt(100, 57), 4, 13, 130), 99, 1, 180, 55);
}

TEST(PopupPlacement, EmptyListIsTwoPixelsOfBorder) {
  ExpectRect(PlacePopup(FaceAt(0, 0), 0, 13, 740), -1, 19, 80, 21);
}

}  // namespace
