#pragma once
// Bitmaps a metafile's records carry, decoded once and shared by every
// playback of that metafile: a RIP replays the same records for every strip,
// on several threads. Entries are keyed by where the bits lie in the
// metafile's own bytes, so a cache must live exactly as long as those bytes.
// Bounded by size; the least recently used bitmaps go first.
#include "platform/dib.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>

namespace corvan::emf {

struct DecodedDib {
    DibImage image;
    DibHeader header;
};

struct BitmapKey {
    const std::uint8_t* info = nullptr;
    const std::uint8_t* bits = nullptr;
    std::uint32_t bitsSize = 0;
    bool alpha = false;
    std::int32_t band = -1;  // -1: the whole bitmap
    int rules = 0;           // which decoding rules the caller applies
    bool operator==(const BitmapKey&) const = default;
};

class BitmapCache {
public:
    explicit BitmapCache(std::size_t maxBytes = std::size_t{64} << 20) : maxBytes_(maxBytes) {}
    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;

    using Entry = std::shared_ptr<const DecodedDib>;
    // The bitmap of `key`: from the cache, else decoded now (outside the
    // lock, so other threads go on) and kept when it fits. Null when it
    // cannot be decoded.
    Entry Get(const BitmapKey& key, const std::function<std::optional<DecodedDib>()>& decode);

    std::size_t Bytes() const;

private:
    static std::size_t SizeOf(const DecodedDib& d);
    mutable std::mutex mutex_;
    std::list<std::pair<BitmapKey, Entry>> entries_;  // most recently used first
    std::size_t bytes_ = 0;
    const std::size_t maxBytes_;
};

}  // namespace corvan::emf
