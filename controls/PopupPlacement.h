#pragma once

// Inclusive rectangle in screen coordinates.
struct PopupRect {
  int left, top, right, bottom;
};

// Where a drop-down's list opens, given the face in screen coordinates: below the face
// if there is room, else above it, else pinned to the bottom of the screen.
PopupRect PlacePopup(const PopupRect& anchor, int itemCount, int itemHeight, int screenHeight);
