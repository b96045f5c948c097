// TIFF raster driver: prints the host's rows as a TIFF at the device
// resolution, through an ICC output profile (CMYK or RGB), to the output
// file of data type 14 or, when that is empty, to the CUPS queue of data
// type 15. Spot colours become L*a*b* targets, extra ink channels or extra
// ink pages. Its dialogs open only when the host named a window.
#include "common/devicesettings.h"
#include "common/outputs.h"
#include "common/settingstext.h"
#include "tiff/colour.h"
#include "tiff/dialogs.h"
#include "tiff/gmapreview.h"
#include "tiff/tiffjob.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unistd.h>

using drv::TiffSettings;

namespace {

std::string DefaultProfile() {
    return drv::DriverFolder() + "../Profiles/CorvanCMYK.icc";
}

struct State {
    TiffSettings settings;
    std::string blob;
    drv::ColourEngine engine;
    drv::PreviewStore preview;
    std::unique_ptr<drv::TiffJob> job;
    std::string title, tempPath, queue;
    bool stop = false;
    bool discarded = false;  // the last run left no file: nothing to spool
    std::uint64_t window = 0;  // the host's window; 0 = nobody to ask
    State() { settings.Device.Profile = DefaultProfile(); }
};

State& S() {
    static State s;
    return s;
}

drv::ColourMatch Match(int32_t r, int32_t g, int32_t b, int32_t tol) {
    return {r, g, b, tol};
}

// Where the pages go until the run is complete: beside the output file (so
// the final rename is atomic), or a temporary file for the queue.
bool ChooseDestination() {
    State& s = S();
    if (!s.settings.Device.OutputFile.empty()) {
        s.tempPath = s.settings.Device.OutputFile + ".part";
        s.queue.clear();
        return true;
    }
    const auto queues = drv::CupsQueueNames();
    if (s.settings.Device.Queue < 0 || s.settings.Device.Queue >= static_cast<long>(queues.size()))
        return false;
    s.queue = queues[static_cast<std::size_t>(s.settings.Device.Queue)];
    s.tempPath = drv::MakeTempFile("corvan-tiff-");
    return !s.tempPath.empty();
}

void Deliver() {
    State& s = S();
    if (!s.job) return;
    // A stopped or failed run delivers nothing: its file holds only the rows
    // done, and whatever was at the output path before stays as it was.
    const bool ok = s.job->Close() && !s.tempPath.empty();
    s.discarded = !ok;
    if (ok && s.queue.empty())
        std::rename(s.tempPath.c_str(), s.settings.Device.OutputFile.c_str());
    else if (ok)
        drv::SendToQueue(s.queue, s.tempPath, s.title);
    if (!s.tempPath.empty()) unlink(s.tempPath.c_str());
    s.tempPath.clear();
    s.job.reset();
}

}  // namespace

extern "C" {

CORVAN_DRV_EXPORT void Query_Printer(TPrinterInfo* info) {
    S().settings.Device.Describe(info, "TIFF Raster Printer", "TIFF file or CUPS queue, ICC colour",
                                 "tiff");
}

CORVAN_DRV_EXPORT void Initialize_Plugin(void) {}
CORVAN_DRV_EXPORT void Finalize_Plugin(void) {
    S().job.reset();
}

CORVAN_DRV_EXPORT void Plugin_Load_Profile(void) {
    S().engine.Open(S().settings.Device.Profile, static_cast<int>(S().settings.Method));
}
CORVAN_DRV_EXPORT void Plugin_Free_Profile(void) {}

CORVAN_DRV_EXPORT void Set_Plugin_Preview(DrvBitmap* bitmap, int32_t, int32_t) {
    S().preview.Set(bitmap);
}

CORVAN_DRV_EXPORT DrvBitmap* Get_GMA_Data(int32_t, int32_t, int32_t width, int32_t height) {
    State& s = S();
    s.engine.Open(s.settings.Device.Profile, static_cast<int>(s.settings.Method));
    return s.preview.Render(width, height, s.engine);
}

CORVAN_DRV_EXPORT void Set_Plugin_Data(const void* data, int32_t size) {
    S().settings = TiffSettings{};
    S().settings.Device.Profile = DefaultProfile();
    S().settings.FromMap(drv::ParseSettings(data, size));
}

CORVAN_DRV_EXPORT int32_t Get_Plugin_Data(void* buffer) {
    if (!buffer) S().blob = drv::SerialiseSettings(S().settings.ToMap());
    return drv::CopyBlob(S().blob, buffer);
}

CORVAN_DRV_EXPORT DrvBool Choose_Plugin_Data(int32_t dialog) {
    return drv::ChooseSettings(dialog, S().window, S().settings) ? 1 : 0;
}

CORVAN_DRV_EXPORT int32_t Set_Plugin_Datatype(int32_t type, const uint8_t* value) {
    TiffSettings& s = S().settings;
    const std::string v = drv::ShortText(value);
    if (type == DRV_DATA_GAMUT)
        s.Method = drv::ParseIntText(v, s.Method);
    else if (type == DRV_DATA_WINDOW)
        S().window = std::strtoull(v.c_str(), nullptr, 10);
    else
        s.Device.Set(type, v);
    return 0;
}

CORVAN_DRV_EXPORT void Get_Plugin_Datatype(int32_t type, uint8_t* value) {
    std::string v;
    S().settings.Device.Get(type, v);
    drv::FillShort(value, v);
}

CORVAN_DRV_EXPORT void Get_Plugin_Settings(TPluginSettings* settings) {
    settings->PassCount = static_cast<int32_t>(S().settings.Passes);
}

CORVAN_DRV_EXPORT DrvBool Prepare_PrintJob(int32_t sw, int32_t sh, int32_t dw, int32_t dh, int32_t,
                                           const uint8_t*) {
    State& s = S();
    s.stop = false;
    s.discarded = false;
    s.job = std::make_unique<drv::TiffJob>();
    return s.job->Prepare(sw, sh, dw, dh) ? 0 : 1;
}

CORVAN_DRV_EXPORT DrvBool Plugin_OpenPrinter(void) {
    State& s = S();
    if (!s.job || !ChooseDestination()) return 1;
    if (!s.engine.Open(s.settings.Device.Profile, static_cast<int>(s.settings.Method))) return 1;
    drv::JobSettings js;
    js.DpiX = static_cast<double>(s.settings.Device.DpiX);
    js.DpiY = static_cast<double>(s.settings.Device.DpiY);
    js.Passes = static_cast<int>(s.settings.Passes);
    js.Packing = s.settings.Packing;
    return s.job->Open(s.tempPath, js, &s.engine) ? 0 : 1;
}

CORVAN_DRV_EXPORT DrvBool Plugin_StartDoc(const uint8_t* title) {
    S().title = drv::ShortText(title);
    return 0;
}

CORVAN_DRV_EXPORT void Insert_SpotColor(int32_t r, int32_t g, int32_t b, int32_t tol, int32_t L,
                                        int32_t a, int32_t bb) {
    if (S().job) S().job->InsertSpot(Match(r, g, b, tol), L, a, bb);
}

CORVAN_DRV_EXPORT DrvBool Force_InkColor(int32_t mode, int32_t spot, int32_t r, int32_t g,
                                         int32_t b, int32_t tol) {
    State& s = S();
    switch (mode) {
        case DRV_INK_HAS_SPOT_INK:
            return spot >= 1 && spot <= 19;
        case DRV_INK_IN_NORMAL_PASS:
            return !s.settings.InkPages;
        case DRV_INK_ASSIGN:
            if (s.job) s.job->AssignInk(Match(r, g, b, tol), spot);
            return 1;
        case DRV_INK_PASS_INK:
            if (s.job) s.job->SetPassInk(spot);
            return 1;
        case DRV_INK_PASS_COLOUR:
            if (s.job) s.job->SetPassColour(Match(r, g, b, tol));
            return 1;
        default:
            return 0;
    }
}

CORVAN_DRV_EXPORT DrvBool Plugin_StartPage(int32_t pass) {
    return S().job && S().job->StartPage(pass) ? 0 : 1;
}

CORVAN_DRV_EXPORT DrvBool Plugin_PrintRow(const uint8_t* p0, const uint8_t* p1, const uint8_t* p2,
                                          int32_t, int32_t srcWidth, int32_t devWidth, int32_t row) {
    State& s = S();
    // Planes of another width than the job announced would be read past
    // their end: refuse them.
    if (!s.job || !s.job->Fits(srcWidth, devWidth)) return 1;
    const bool problem = row < 0 ? s.job->SourceRow(p0, p1, p2) : s.job->DeviceRow(row);
    if (problem) s.stop = true;
    return problem ? 1 : 0;
}

CORVAN_DRV_EXPORT int32_t Plugin_Status(void) {
    return S().stop ? 1 : 0;
}

CORVAN_DRV_EXPORT void Plugin_EndPage(void) {
    if (S().job) S().job->EndPage();
}

CORVAN_DRV_EXPORT DrvBool Plugin_StartCut(void) {
    return 0;
}
CORVAN_DRV_EXPORT DrvBool Plugin_PrintVector(int32_t, double, double) {
    return 0;
}
CORVAN_DRV_EXPORT void Plugin_EndCut(void) {}
CORVAN_DRV_EXPORT void Plugin_EndDoc(void) {}
CORVAN_DRV_EXPORT void Plugin_ClosePrinter(void) {
    Deliver();
}
CORVAN_DRV_EXPORT void Finalize_PrintJob(void) {
    Deliver();
}

CORVAN_DRV_EXPORT int32_t Plugin_SpoolPrintJob(const char* path) {
    const auto queues = drv::CupsQueueNames();
    const long q = S().settings.Device.Queue;
    if (!path || S().discarded || q < 0 || q >= static_cast<long>(queues.size())) return 0;
    return drv::SendToQueue(queues[static_cast<std::size_t>(q)], path, "") ? 1 : 0;
}

}  // extern "C"
