#include "controls/PopupPlacement.h"

PopupRect PlacePopup(const PopupRect& anchor, int itemCount, int itemHeight, int screenHeight) {
  const int height = itemCount * itemHeight + 2;
  PopupRect popup;
  popup.left = anchor.left - 1;
  popup.right = anchor.right + 1;
  if (screenHeight - anchor.bottom - 2 > height) {
    popup.top = anchor.bottom + 2;
    popup.bottom = popup.top + height;
  } else if (anchor.top - 2 > height) {
    popup.bottom = anchor.top - 2;
    popup.top = popup.bottom - height;
  } else {
    popup.bottom = screenHeight;
    popup.top = screenHeight - height;
  }
  return popup;
}
