#include "platform/metafile/bitmap_cache.h"

#include <algorithm>

namespace corvan::emf {

std::size_t BitmapCache::SizeOf(const DecodedDib& d) {
    const Bitmap24* p = d.image.pixels.get();
    const std::size_t pixels = p ? 3 * static_cast<std::size_t>(p->Width()) * p->Height() : 0;
    return pixels + d.image.alpha.size();
}

std::size_t BitmapCache::Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

BitmapCache::Entry BitmapCache::Get(const BitmapKey& key,
                                    const std::function<std::optional<DecodedDib>()>& decode) {
    const auto find = [&] {
        return std::find_if(entries_.begin(), entries_.end(),
                            [&](const auto& e) { return e.first == key; });
    };
    {
        std::lock_guard lock(mutex_);
        if (auto it = find(); it != entries_.end()) {
            entries_.splice(entries_.begin(), entries_, it);
            return it->second;
        }
    }
    std::optional<DecodedDib> decoded = decode();
    if (!decoded || !decoded->image.pixels) return nullptr;
    const std::size_t size = SizeOf(*decoded);
    Entry entry = std::make_shared<const DecodedDib>(std::move(*decoded));
    if (size > maxBytes_) return entry;  // used once, never kept
    std::lock_guard lock(mutex_);
    if (auto it = find(); it != entries_.end()) return it->second;  // another thread was first
    entries_.emplace_front(key, entry);
    bytes_ += size;
    while (bytes_ > maxBytes_ && entries_.size() > 1) {
        bytes_ -= SizeOf(*entries_.back().second);
        entries_.pop_back();
    }
    return entry;
}

}  // namespace corvan::emf
