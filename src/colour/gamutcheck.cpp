#include "colour/gamutcheck.h"

#include <lcms2.h>

#include <memory>
#include <mutex>

namespace corvan {
namespace {

struct ProfileCloser {
    void operator()(void* p) const {
        if (p) cmsCloseProfile(p);
    }
};
struct TransformDeleter {
    void operator()(void* t) const {
        if (t) cmsDeleteTransform(t);
    }
};
using Profile = std::unique_ptr<void, ProfileCloser>;
using Transform = std::unique_ptr<void, TransformDeleter>;

// The two transforms of one profile, kept while the same profile is asked
// about again (the spot editor asks at every change of a target field).
struct RoundTrip {
    std::string path;
    Transform toDevice, toLab;
};

std::optional<cmsUInt32Number> DeviceFormat(cmsColorSpaceSignature space) {
    switch (space) {
        case cmsSigCmykData:
            return TYPE_CMYK_DBL;
        case cmsSigRgbData:
            return TYPE_RGB_DBL;
        case cmsSigGrayData:
            return TYPE_GRAY_DBL;
        default:
            return std::nullopt;
    }
}

bool Build(RoundTrip& trip, const std::string& path, std::string& error) {
    Profile device(cmsOpenProfileFromFile(path.c_str(), "r"));
    if (!device) {
        error = "cannot read the colour profile " + path;
        return false;
    }
    const auto format = DeviceFormat(cmsGetColorSpace(device.get()));
    if (!format) {
        error = "the colour profile " + path + " is not for a grey, RGB or CMYK printer";
        return false;
    }
    Profile lab(cmsCreateLab4Profile(nullptr));
    trip.toDevice.reset(cmsCreateTransform(lab.get(), TYPE_Lab_DBL, device.get(), *format,
                                           INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE));
    trip.toLab.reset(cmsCreateTransform(device.get(), *format, lab.get(), TYPE_Lab_DBL,
                                        INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE));
    if (!trip.toDevice || !trip.toLab) {
        error = "the colour profile " + path + " has no colorimetric transform";
        return false;
    }
    trip.path = path;
    return true;
}

}  // namespace

std::optional<GamutCheck> CheckTargetAgainstProfile(const std::string& iccPath,
                                                    const Lab& target, std::string& error) {
    static std::mutex mutex;
    static RoundTrip trip;
    std::lock_guard lock(mutex);
    if (trip.path != iccPath) {
        trip = {};
        if (!Build(trip, iccPath, error)) return std::nullopt;
    }
    const cmsCIELab in{target.L, target.a, target.b};
    double device[4] = {0, 0, 0, 0};
    cmsCIELab out{};
    cmsDoTransform(trip.toDevice.get(), &in, device, 1);
    cmsDoTransform(trip.toLab.get(), device, &out, 1);
    GamutCheck check;
    check.reachable = {out.L, out.a, out.b};
    check.deltaE = cmsCIE2000DeltaE(&in, &out, 1, 1, 1);
    check.inGamut = check.deltaE <= kGamutTolerance;
    return check;
}

}  // namespace corvan
