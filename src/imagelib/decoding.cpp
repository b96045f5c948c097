#include "imagelib/decoding.h"

#include "imagelib/orientation.h"
#include "platform/debuglog.h"

#include <lcms2.h>

namespace corvan {

std::string DamagedFile(const std::string& format, const std::string& detail) {
    return "The " + format + " file is damaged" + (detail.empty() ? "" : " (" + detail + ")");
}

void LogDecoderText(const std::string& format, const std::string& text) {
    if (!text.empty()) LogLine(format + " decoder: " + text);
}

std::string ProfileDescription(std::span<const std::uint8_t> icc) {
    if (icc.empty()) return {};
    cmsHPROFILE profile =
        cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size()));
    if (!profile) return "unreadable profile";
    char text[256] = {};
    cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", text, sizeof text);
    cmsCloseProfile(profile);
    return text[0] ? text : "profile without a description";
}

DecodeResult Oriented(DecodeResult result, int orientation) {
    if (!result.image || orientation <= 1 || orientation > 8) return result;
    result.image = ApplyOrientation(std::move(result.image), orientation);
    if (!result.image) return DecodeResult::Failed(kOutOfMemory);
    result.info.orientation = orientation;
    return result;
}

}  // namespace corvan
