// Makes the small ICC profiles shipped in share/data/Profiles:
//   CorvansRGB.icc  an sRGB profile (RGB output and screen)
//   CorvanCMYK.icc  a simple CMYK press: ink layers multiply, black ink with
//                   grey-component replacement, a paper a little bluer than
//                   D50 and a black that stops at 8 % reflectance, so the
//                   rendering intents and black-point compensation differ.
// Usage: corvan-make-profiles OUTPUT_FOLDER
#include <lcms2.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr double kBlackFloor = 0.08;  // reflectance of full ink
constexpr double kGcr = 0.8;          // share of the common grey printed in black

cmsHPROFILE g_srgb, g_lab;
cmsHTRANSFORM g_rgbToLab, g_labToRgb;

// CMYK (0..1) to relative sRGB (0..1): layers multiply, the darkest
// reachable tone is kBlackFloor.
void InkToRgb(const double cmyk[4], double rgb[3]) {
    for (int i = 0; i < 3; ++i) {
        const double reflect = (1 - cmyk[i]) * (1 - cmyk[3]);
        rgb[i] = kBlackFloor + (1 - kBlackFloor) * reflect;
    }
}

int AToB(const cmsUInt16Number in[], cmsUInt16Number out[], void*) {
    double cmyk[4], rgb[3];
    for (int i = 0; i < 4; ++i) cmyk[i] = in[i] / 65535.0;
    InkToRgb(cmyk, rgb);
    cmsCIELab lab;
    cmsDoTransform(g_rgbToLab, rgb, &lab, 1);
    cmsFloat2LabEncoded(out, &lab);
    return 1;
}

int BToA(const cmsUInt16Number in[], cmsUInt16Number out[], void*) {
    cmsCIELab lab;
    cmsLabEncoded2Float(&lab, in);
    double rgb[3];
    cmsDoTransform(g_labToRgb, &lab, rgb, 1);
    double cmy[3];
    for (int i = 0; i < 3; ++i) {
        const double reflect = std::clamp((rgb[i] - kBlackFloor) / (1 - kBlackFloor), 0.0, 1.0);
        cmy[i] = 1 - reflect;
    }
    const double k = kGcr * std::min({cmy[0], cmy[1], cmy[2]});
    for (int i = 0; i < 3; ++i) {
        const double c = k < 1 ? (cmy[i] - k) / (1 - k) : 0;
        out[i] = static_cast<cmsUInt16Number>(std::clamp(c, 0.0, 1.0) * 65535 + 0.5);
    }
    out[3] = static_cast<cmsUInt16Number>(k * 65535 + 0.5);
    return 1;
}

cmsPipeline* Table(int inputs, int outputs, int grid, cmsSAMPLER16 sampler) {
    cmsPipeline* pipe = cmsPipelineAlloc(nullptr, static_cast<cmsUInt32Number>(inputs),
                                         static_cast<cmsUInt32Number>(outputs));
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, static_cast<cmsUInt32Number>(grid),
                                            static_cast<cmsUInt32Number>(inputs),
                                            static_cast<cmsUInt32Number>(outputs), nullptr);
    cmsStageSampleCLut16bit(clut, sampler, nullptr, 0);
    // Version 4 tables take curves before and after the grid; identity here.
    cmsPipelineInsertStage(
        pipe, cmsAT_END,
        cmsStageAllocToneCurves(nullptr, static_cast<cmsUInt32Number>(inputs), nullptr));
    cmsPipelineInsertStage(pipe, cmsAT_END, clut);
    cmsPipelineInsertStage(
        pipe, cmsAT_END,
        cmsStageAllocToneCurves(nullptr, static_cast<cmsUInt32Number>(outputs), nullptr));
    return pipe;
}

void Describe(cmsHPROFILE p, const char* text) {
    cmsMLU* desc = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(desc, "en", "US", text);
    cmsWriteTag(p, cmsSigProfileDescriptionTag, desc);
    cmsMLUsetASCII(desc, "en", "US", "No copyright, use freely");
    cmsWriteTag(p, cmsSigCopyrightTag, desc);
    cmsMLUfree(desc);
}

bool MakeCmyk(const std::string& path) {
    cmsHPROFILE p = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(p, 4.3);
    cmsSetDeviceClass(p, cmsSigOutputClass);
    cmsSetColorSpace(p, cmsSigCmykData);
    cmsSetPCS(p, cmsSigLabData);
    cmsSetHeaderRenderingIntent(p, INTENT_PERCEPTUAL);
    Describe(p, "CorvanRIP simple CMYK");
    cmsCIEXYZ paper;  // a slightly blue-white paper
    cmsCIELab paperLab{96.0, 0.0, -3.0};
    cmsLab2XYZ(cmsD50_XYZ(), &paper, &paperLab);
    cmsWriteTag(p, cmsSigMediaWhitePointTag, &paper);
    cmsPipeline* a2b = Table(4, 3, 9, AToB);
    cmsPipeline* b2a = Table(3, 4, 21, BToA);
    // One table serves every intent: the intents then differ in black-point
    // handling and in absolute colorimetric's paper simulation.
    cmsWriteTag(p, cmsSigAToB0Tag, a2b);
    cmsWriteTag(p, cmsSigBToA0Tag, b2a);
    for (cmsTagSignature t : {cmsSigAToB1Tag, cmsSigAToB2Tag}) cmsLinkTag(p, t, cmsSigAToB0Tag);
    for (cmsTagSignature t : {cmsSigBToA1Tag, cmsSigBToA2Tag}) cmsLinkTag(p, t, cmsSigBToA0Tag);
    cmsPipelineFree(a2b);
    cmsPipelineFree(b2a);
    const bool ok = cmsSaveProfileToFile(p, path.c_str());
    cmsCloseProfile(p);
    return ok;
}

bool MakeSrgb(const std::string& path) {
    cmsHPROFILE p = cmsCreate_sRGBProfile();
    Describe(p, "CorvanRIP sRGB");
    const bool ok = cmsSaveProfileToFile(p, path.c_str());
    cmsCloseProfile(p);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvan-make-profiles OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    cmsSetLogErrorHandler([](cmsContext, cmsUInt32Number, const char* text) {
        std::fprintf(stderr, "lcms2: %s\n", text);
    });
    g_srgb = cmsCreate_sRGBProfile();
    g_lab = cmsCreateLab4Profile(nullptr);
    g_rgbToLab = cmsCreateTransform(g_srgb, TYPE_RGB_DBL, g_lab, TYPE_Lab_DBL,
                                    INTENT_RELATIVE_COLORIMETRIC, 0);
    // Unbounded, so colours outside sRGB come back as values beyond 0..1 and
    // are clipped in ink space, not before.
    g_labToRgb = cmsCreateTransform(g_lab, TYPE_Lab_DBL, g_srgb, TYPE_RGB_DBL,
                                    INTENT_RELATIVE_COLORIMETRIC, 0);
    const bool ok = MakeSrgb(folder + "CorvansRGB.icc") && MakeCmyk(folder + "CorvanCMYK.icc");
    std::fprintf(stderr, ok ? "profiles written to %s\n" : "writing profiles to %s failed\n",
                 folder.c_str());
    return ok ? 0 : 1;
}
