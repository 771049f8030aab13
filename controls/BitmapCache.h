#pragma once
// Process-wide cache of the skin bitmaps: each resource is loaded once and kept until
// FreeSkinBitmaps. Safe to call from any thread.
#include <memory>
#include "controls/SkinBitmap.h"

struct SkinBitmapCacheEntry {
    int id = 0;  // the identifier as it was asked for
    std::unique_ptr<CSkinBitmap> bitmap;
    std::unique_ptr<SkinBitmapCacheEntry> next;
};

// The cached bitmap of resource id, or null when the resources hold no such bitmap
// (nothing is cached then, so a later call tries again). The pointer stays valid
// until FreeSkinBitmaps; callers never free it.
CSkinBitmap* LoadSkinBitmap(int id);

// Whether the resources hold bitmap id, without loading it.
bool SkinBitmapExists(int id);

// Destroys every cached bitmap; pointers handed out before become invalid.
void FreeSkinBitmaps();

// Number of bitmaps in the cache.
int CountSkinBitmaps();
