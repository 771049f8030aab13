#include "controls/BitmapCache.h"

#include <mutex>

#include "framework/WinApp.h"

namespace {

// Guards the list: any thread may load bitmaps while another loads others or frees
// the cache.
std::mutex cacheLock;
std::unique_ptr<SkinBitmapCacheEntry> cacheHead;

}  // namespace

CSkinBitmap* LoadSkinBitmap(int id) {
    std::lock_guard<std::mutex> hold(cacheLock);
    for (SkinBitmapCacheEntry* entry = cacheHead.get(); entry != nullptr; entry = entry->next.get()) {
        if (entry->id == id) return entry->bitmap.get();
    }

    auto entry = std::make_unique<SkinBitmapCacheEntry>();
    entry->bitmap = std::make_unique<CSkinBitmap>();
    if (!entry->bitmap->LoadBitmap(static_cast<UINT>(id) & 0xffffu)) return nullptr;

    entry->id = id;
    entry->next = std::move(cacheHead);
    cacheHead = std::move(entry);
    return cacheHead->bitmap.get();
}

bool SkinBitmapExists(int id) {
    const UINT resource = static_cast<UINT>(id) & 0xffffu;
    return ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resource), RT_BITMAP) != nullptr;
}

void FreeSkinBitmaps() {
    std::lock_guard<std::mutex> hold(cacheLock);
    // Unlinked one by one, so a long list never recurses through the destructors.
    while (cacheHead) {
        std::unique_ptr<SkinBitmapCacheEntry> next = std::move(cacheHead->next);
        cacheHead = std::move(next);
    }
}

int CountSkinBitmaps() {
    std::lock_guard<std::mutex> hold(cacheLock);
    int count = 0;
    for (const SkinBitmapCacheEntry* entry = cacheHead.get(); entry != nullptr; entry = entry->next.get()) ++count;
    return count;
}
