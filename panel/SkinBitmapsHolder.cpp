#include "panel/SkinBitmapsHolder.h"

#include "controls/BitmapCache.h"

CSkinBitmapsHolder::~CSkinBitmapsHolder() { FreeSkinBitmaps(); }
