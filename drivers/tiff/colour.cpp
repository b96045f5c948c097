#include "tiff/colour.h"

#include <lcms2.h>

#include <fstream>
#include <iterator>

namespace drv {

IntentChoice IntentForMethod(int method, std::uint32_t profileIntent) {
    switch (method) {
        case 1:
            return {INTENT_RELATIVE_COLORIMETRIC, false};  // accurate: in-gamut colours exact
        case 2:
            return {INTENT_SATURATION, true};  // saturation: business graphics
        case 3:
            return {INTENT_PERCEPTUAL, true};  // photo: smooth compression
        case 4:
            return {INTENT_RELATIVE_COLORIMETRIC, true};  // pleasant: exact, shadows kept
        case 5:
            return {INTENT_ABSOLUTE_COLORIMETRIC, false};  // logo: brand colours as measured
        default:
            return {profileIntent, true};  // profile default
    }
}

struct ColourEngine::Impl {
    cmsHPROFILE srgb = nullptr;
    cmsHPROFILE lab = nullptr;
    cmsHPROFILE output = nullptr;
    cmsHTRANSFORM toDevice = nullptr;
    cmsHTRANSFORM labToDevice = nullptr;
    cmsHTRANSFORM proof = nullptr;

    ~Impl() {
        for (cmsHTRANSFORM t : {toDevice, labToDevice, proof})
            if (t) cmsDeleteTransform(t);
        for (cmsHPROFILE p : {srgb, lab, output})
            if (p) cmsCloseProfile(p);
    }
};

ColourEngine::ColourEngine() = default;
ColourEngine::~ColourEngine() = default;

bool ColourEngine::IsOpen() const {
    return impl_ && impl_->toDevice;
}

bool ColourEngine::Open(const std::string& profilePath, int method) {
    impl_.reset();
    std::ifstream in(profilePath, std::ios::binary);
    profileBytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (profileBytes_.empty()) return false;
    auto impl = std::make_unique<Impl>();
    impl->output = cmsOpenProfileFromMem(profileBytes_.data(),
                                         static_cast<cmsUInt32Number>(profileBytes_.size()));
    if (!impl->output) return false;
    const cmsColorSpaceSignature space = cmsGetColorSpace(impl->output);
    if (space != cmsSigCmykData && space != cmsSigRgbData) return false;
    cmyk_ = space == cmsSigCmykData;
    impl->srgb = cmsCreate_sRGBProfile();
    impl->lab = cmsCreateLab4Profile(nullptr);
    const IntentChoice choice = IntentForMethod(method, cmsGetHeaderRenderingIntent(impl->output));
    const cmsUInt32Number flags =
        choice.BlackPointCompensation ? cmsFLAGS_BLACKPOINTCOMPENSATION : 0;
    const cmsUInt32Number deviceType = cmyk_ ? TYPE_CMYK_8 : TYPE_RGB_8;
    impl->toDevice =
        cmsCreateTransform(impl->srgb, TYPE_BGR_8, impl->output, deviceType, choice.Intent, flags);
    // Spot targets are measured colours: they print as close as the device can.
    impl->labToDevice =
        cmsCreateTransform(impl->lab, TYPE_Lab_DBL, impl->output, deviceType,
                           INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_BLACKPOINTCOMPENSATION);
    impl->proof = cmsCreateProofingTransform(
        impl->srgb, TYPE_BGR_8, impl->srgb, TYPE_BGR_8, impl->output, choice.Intent,
        INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_SOFTPROOFING | flags);
    if (!impl->toDevice || !impl->labToDevice || !impl->proof) return false;
    impl_ = std::move(impl);
    return true;
}

void ColourEngine::Transform(const std::uint8_t* bgr, std::uint8_t* device,
                             std::size_t count) const {
    cmsDoTransform(impl_->toDevice, bgr, device, static_cast<cmsUInt32Number>(count));
}

std::vector<std::uint8_t> ColourEngine::LabToDevice(double L, double a, double b) const {
    cmsCIELab lab{L, a, b};
    std::vector<std::uint8_t> out(static_cast<std::size_t>(Channels()));
    cmsDoTransform(impl_->labToDevice, &lab, out.data(), 1);
    return out;
}

void ColourEngine::Proof(const std::uint8_t* bgr, std::uint8_t* out, std::size_t count) const {
    cmsDoTransform(impl_->proof, bgr, out, static_cast<cmsUInt32Number>(count));
}

}  // namespace drv
