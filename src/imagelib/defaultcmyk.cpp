#include "imagelib/defaultcmyk.h"

#include <array>
#include <cmath>

namespace corvan {

namespace {

// Solid inks and paper in CIELAB (D50) as published for offset print on
// coated paper; the usual target of sign-shop CMYK files without a profile.
constexpr cmsCIELab kPaper{95.0, 0.0, -2.0};
constexpr std::array<cmsCIELab, 4> kSolids{{
    {55.0, -37.0, -50.0},  // cyan
    {48.0, 74.0, -3.0},    // magenta
    {89.0, -5.0, 93.0},    // yellow
    {16.0, 0.0, 0.0},      // black
}};
// Yule-Nielsen factor: how much darker mid-tones print than their dot area
// says (optical dot gain). 1.7 is typical for offset on coated stock.
constexpr double kYuleNielsen = 1.7;
// Light reflected by the ink surface itself: keeps a full four-colour
// overprint near L* 9 instead of the model's pure black.
constexpr double kSurfaceReflection = 0.01;

struct InkModel {
    // Per ink and XYZ channel: transmittance relative to paper, to the 1/n power.
    std::array<std::array<double, 3>, 4> root{};
};

InkModel MakeModel() {
    InkModel m;
    cmsCIEXYZ paper;
    cmsLab2XYZ(cmsD50_XYZ(), &paper, &kPaper);
    for (std::size_t k = 0; k < 4; ++k) {
        cmsCIEXYZ ink;
        cmsLab2XYZ(cmsD50_XYZ(), &ink, &kSolids[k]);
        const double t[3] = {ink.X / paper.X, ink.Y / paper.Y, ink.Z / paper.Z};
        for (std::size_t j = 0; j < 3; ++j) m.root[k][j] = std::pow(t[j], 1.0 / kYuleNielsen);
    }
    return m;
}

// Yule-Nielsen modified Neugebauer with overprints predicted by multiplying
// the solids; with Demichel dot overlap the sum over the 16 primaries
// factors into one product per channel. The result is relative to the
// paper, so paper white becomes the PCS white.
int SampleLab(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) {
    const auto& model = *static_cast<const InkModel*>(cargo);
    const cmsCIEXYZ* white = cmsD50_XYZ();
    const double whiteXyz[3] = {white->X, white->Y, white->Z};
    double xyz[3];
    for (std::size_t j = 0; j < 3; ++j) {
        double product = 1.0;
        for (std::size_t k = 0; k < 4; ++k) {
            const double area = in[k] / 65535.0;
            product *= 1.0 - area + area * model.root[k][j];
        }
        const double reflectance = std::pow(product, kYuleNielsen);
        xyz[j] = whiteXyz[j] * (kSurfaceReflection + (1.0 - kSurfaceReflection) * reflectance);
    }
    const cmsCIEXYZ value{xyz[0], xyz[1], xyz[2]};
    cmsCIELab lab;
    cmsXYZ2Lab(white, &lab, &value);
    cmsFloat2LabEncoded(out, &lab);
    return 1;
}

}  // namespace

cmsHPROFILE CreateDefaultCmykProfile() {
    static const InkModel model = MakeModel();
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    if (!profile) return nullptr;
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsSetHeaderRenderingIntent(profile, INTENT_RELATIVE_COLORIMETRIC);
    // Identity curves around the table: the ICC v4 lookup form needs them
    // to be written out.
    cmsPipeline* lut = cmsPipelineAlloc(nullptr, 4, 3);
    bool ok = lut && cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsStage* clut = ok ? cmsStageAllocCLut16bit(nullptr, 17, 4, 3, nullptr) : nullptr;
    ok = clut && cmsStageSampleCLut16bit(clut, SampleLab, const_cast<InkModel*>(&model), 0) &&
         cmsPipelineInsertStage(lut, cmsAT_END, clut);
    if (!ok && clut) cmsStageFree(clut);
    ok = ok && cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    ok = ok && cmsWriteTag(profile, cmsSigAToB0Tag, lut) &&
         cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    if (cmsMLU* desc = cmsMLUalloc(nullptr, 1)) {
        cmsMLUsetASCII(desc, "en", "US", "CorvanRIP default CMYK (coated offset model)");
        ok = ok && cmsWriteTag(profile, cmsSigProfileDescriptionTag, desc);
        cmsMLUfree(desc);
    }
    if (lut) cmsPipelineFree(lut);
    if (!ok) {
        cmsCloseProfile(profile);
        return nullptr;
    }
    return profile;
}

}  // namespace corvan
