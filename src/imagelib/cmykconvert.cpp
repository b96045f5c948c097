#include "imagelib/cmykconvert.h"

#include "imagelib/defaultcmyk.h"

#include <lcms2.h>

#include <map>
#include <mutex>
#include <tuple>
#include <vector>

namespace corvan {

namespace {

cmsUInt32Number InputFormat(const CmykLayout& layout) {
    return COLORSPACE_SH(PT_CMYK) | CHANNELS_SH(4) | BYTES_SH(layout.bitsPerSample / 8) |
           EXTRA_SH(layout.extraSamples) | (layout.inverted ? FLAVOR_SH(1) : 0);
}

// Relative colorimetric with black point compensation: paper white becomes
// screen white and the deepest black the screen's black, without the
// surprises of a perceptual table we did not build ourselves.
constexpr cmsUInt32Number kIntent = INTENT_RELATIVE_COLORIMETRIC;
// No one-pixel cache: the shared default transforms may run on several threads.
constexpr cmsUInt32Number kFlags = cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE;

cmsHTRANSFORM MakeTransform(cmsHPROFILE cmyk, const CmykLayout& layout) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    if (!srgb) return nullptr;
    cmsHTRANSFORM t =
        cmsCreateTransform(cmyk, InputFormat(layout), srgb, TYPE_BGR_8, kIntent, kFlags);
    cmsCloseProfile(srgb);
    return t;
}

// The default transforms cost a few milliseconds to build; pictures without
// a profile share one per pixel layout for the life of the program.
class DefaultTransforms {
public:
    ~DefaultTransforms() {
        for (auto& [key, t] : cache_) cmsDeleteTransform(t);
    }
    cmsHTRANSFORM Get(const CmykLayout& layout) {
        const std::lock_guard lock(mutex_);
        const auto key = std::make_tuple(layout.bitsPerSample, layout.inverted, layout.extraSamples);
        if (auto it = cache_.find(key); it != cache_.end()) return it->second;
        cmsHPROFILE profile = CreateDefaultCmykProfile();
        if (!profile) return nullptr;
        cmsHTRANSFORM t = MakeTransform(profile, layout);
        cmsCloseProfile(profile);
        if (t) cache_.emplace(key, t);
        return t;
    }

private:
    std::mutex mutex_;
    std::map<std::tuple<int, bool, int>, cmsHTRANSFORM> cache_;
};

cmsHTRANSFORM DefaultTransform(const CmykLayout& layout) {
    static DefaultTransforms transforms;
    return transforms.Get(layout);
}

bool ValidLayout(const CmykLayout& l) {
    return (l.bitsPerSample == 8 || l.bitsPerSample == 16) && l.extraSamples >= 0 &&
           l.extraSamples <= 8;
}

}  // namespace

std::unique_ptr<CmykConverter> CmykConverter::Create(std::span<const std::uint8_t> iccProfile,
                                                     const CmykLayout& layout, std::string* error) {
    if (!ValidLayout(layout)) {
        if (error) *error = "Unsupported CMYK sample layout";
        return nullptr;
    }
    if (!iccProfile.empty()) {
        // A damaged or non-CMYK profile is ignored: the picture is still worth showing.
        cmsHPROFILE own = cmsOpenProfileFromMem(iccProfile.data(),
                                                static_cast<cmsUInt32Number>(iccProfile.size()));
        if (own && cmsGetColorSpace(own) == cmsSigCmykData) {
            cmsHTRANSFORM t = MakeTransform(own, layout);
            cmsCloseProfile(own);
            if (t) return std::unique_ptr<CmykConverter>(new CmykConverter(t, true, true));
        } else if (own) {
            cmsCloseProfile(own);
        }
    }
    cmsHTRANSFORM t = DefaultTransform(layout);
    if (!t) {
        if (error) *error = "Cannot set up the CMYK colour conversion";
        return nullptr;
    }
    return std::unique_ptr<CmykConverter>(new CmykConverter(t, false, false));
}

CmykConverter::~CmykConverter() {
    if (owned_) cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform_));
}

void CmykConverter::Convert(const void* cmyk, std::uint8_t* bgr, int pixels) const {
    if (pixels > 0)
        cmsDoTransform(static_cast<cmsHTRANSFORM>(transform_), cmyk, bgr,
                       static_cast<cmsUInt32Number>(pixels));
}

std::span<const std::uint8_t> DefaultCmykProfileBytes() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> out;
        cmsHPROFILE p = CreateDefaultCmykProfile();
        cmsUInt32Number size = 0;
        if (p && cmsSaveProfileToMem(p, nullptr, &size) && size > 0) {
            out.resize(size);
            if (!cmsSaveProfileToMem(p, out.data(), &size)) out.clear();
        }
        if (p) cmsCloseProfile(p);
        return out;
    }();
    return bytes;
}

}  // namespace corvan
