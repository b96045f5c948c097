#include "imagelib/defaultcmyk.h"

#include <array>
#include <cmath>

namespace corvan {

namespace {

// Paper, solids and overprints of the coloured inks in CIELAB (D50) as
// published for offset print on coated paper (the characterisation most
// CMYK files without a profile were separated for). Index bit 0 is cyan,
// bit 1 magenta, bit 2 yellow.
constexpr std::array<cmsCIELab, 8> kPrimaries{{
    {95.0, 0.0, -2.0},     // paper
    {55.0, -37.0, -50.0},  // cyan
    {48.0, 74.0, -3.0},    // magenta
    {24.0, 22.0, -46.0},   // cyan + magenta (blue)
    {89.0, -5.0, 93.0},    // yellow
    {50.0, -65.0, 27.0},   // cyan + yellow (green)
    {47.0, 68.0, 48.0},    // magenta + yellow (red)
    {23.0, 0.0, 0.0},      // all three
}};
constexpr cmsCIELab kBlack{16.0, 0.0, 0.0};
// Yule-Nielsen factor: how much darker mid-tones print than their dot area
// says (optical dot gain). 1.7 is typical for offset on coated stock.
constexpr double kYuleNielsen = 1.7;
// Light reflected by the ink surface itself: keeps a full four-colour
// overprint near L* 9 instead of the model's pure black.
constexpr double kSurfaceReflection = 0.01;

struct InkModel {
    // Per primary (and for black) and XYZ channel: reflectance relative to
    // paper, to the power 1/n.
    std::array<std::array<double, 3>, 8> primary{};
    std::array<double, 3> black{};
};

std::array<double, 3> RootReflectance(const cmsCIELab& lab, const cmsCIEXYZ& paper) {
    cmsCIEXYZ xyz;
    cmsLab2XYZ(cmsD50_XYZ(), &xyz, &lab);
    return {std::pow(xyz.X / paper.X, 1.0 / kYuleNielsen),
            std::pow(xyz.Y / paper.Y, 1.0 / kYuleNielsen),
            std::pow(xyz.Z / paper.Z, 1.0 / kYuleNielsen)};
}

InkModel MakeModel() {
    InkModel m;
    cmsCIEXYZ paper;
    cmsLab2XYZ(cmsD50_XYZ(), &paper, &kPrimaries[0]);
    for (std::size_t p = 0; p < kPrimaries.size(); ++p)
        m.primary[p] = RootReflectance(kPrimaries[p], paper);
    m.black = RootReflectance(kBlack, paper);
    return m;
}

// Yule-Nielsen modified Neugebauer: the eight cyan/magenta/yellow primaries
// weighted by Demichel's dot-overlap shares; black darkens every primary by
// its own reflectance (its overprints are not published separately). The
// result is relative to the paper, so paper white becomes the PCS white.
int SampleLab(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) {
    const auto& model = *static_cast<const InkModel*>(cargo);
    const double c = in[0] / 65535.0, m = in[1] / 65535.0, y = in[2] / 65535.0, k = in[3] / 65535.0;
    const cmsCIEXYZ* white = cmsD50_XYZ();
    const double whiteXyz[3] = {white->X, white->Y, white->Z};
    double xyz[3];
    for (std::size_t j = 0; j < 3; ++j) {
        double sum = 0.0;
        for (std::size_t p = 0; p < 8; ++p) {
            const double share =
                ((p & 1) ? c : 1 - c) * ((p & 2) ? m : 1 - m) * ((p & 4) ? y : 1 - y);
            sum += share * model.primary[p][j];
        }
        sum *= 1.0 - k + k * model.black[j];
        const double reflectance = std::pow(sum, kYuleNielsen);
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
    cmsSetDeviceClass(profile, cmsSigInputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsSetHeaderRenderingIntent(profile, INTENT_RELATIVE_COLORIMETRIC);
    // Identity curves around the table: the ICC v4 lookup form needs them
    // to be written out.
    cmsPipeline* lut = cmsPipelineAlloc(nullptr, 4, 3);
    bool ok =
        lut && cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsStage* clut = ok ? cmsStageAllocCLut16bit(nullptr, 17, 4, 3, nullptr) : nullptr;
    ok = clut && cmsStageSampleCLut16bit(clut, SampleLab, const_cast<InkModel*>(&model), 0) &&
         cmsPipelineInsertStage(lut, cmsAT_END, clut);
    if (!ok && clut) cmsStageFree(clut);
    ok = ok && cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    // The same table for every intent: lcms2 only finds the black point
    // (for black point compensation) of intents with a table of their own.
    ok = ok && cmsWriteTag(profile, cmsSigAToB0Tag, lut) &&
         cmsWriteTag(profile, cmsSigAToB1Tag, lut) && cmsWriteTag(profile, cmsSigAToB2Tag, lut) &&
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
