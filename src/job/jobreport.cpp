#include "job/jobreport.h"

#include "job/jobsession.h"
#include "job/units.h"

#include <cstdio>

namespace corvan {

namespace {
const char* YesNoText(bool flag) {
    return flag ? "Yes" : "No";
}
const std::string kSeparator(133, '-');
constexpr int kProfileDatatype = 10;
}  // namespace

std::string DriverInfoText(const TemfPlotter& p) {
    return p.PrinterName + "  " + p.PrinterDescription;
}

std::string DriverInfoText2(const TemfPlotter& p, bool metric) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d x %d DPI  Size: ", p.DpiX, p.DpiY);
    // A roll has no length of its own until a job is laid out on it.
    if (p.PrintableLength <= 0) return buf + FormatLength(p.MediaWidth, metric) + " roll";
    return buf + FormatSize(p.MediaWidth, p.MediaHeight, metric);
}

std::vector<std::string> JobReport(JobSession& app, int kind) {
    std::vector<std::string> lines;
    if (kind > 0 || !app.CurrentJob) return lines;
    const TemfFile& job = *app.CurrentJob;
    const OutputOptions& out = app.Output;

    lines.push_back("Filename:\t\t" + job.FileName);
    lines.push_back("Job Size:\t\t" + FormatSize(job.PageWidth, job.PageHeight, app.UseMetric));
    lines.push_back("Copies:\t\t" + std::to_string(job.Copies));
    lines.push_back("Media Used:\t" + FormatSize(job.MediaUsedWidth, job.MediaUsedHeight, app.UseMetric));
    lines.push_back(kSeparator);
    lines.push_back(std::string("Raster:\t\t") + YesNoText(out.DoRaster));
    // Cut vectors go out only for a job with contour cutting and the switch
    // on and usable.
    const bool contours = out.DoVector && out.VectorEnabled && job.ContourCut;
    lines.push_back(std::string("Contours:\t\t") + YesNoText(contours));
    std::string spots = std::string("Spot Colors: \t") + YesNoText(job.SpotColors);
    if (job.SpotColors) spots += " (" + std::to_string(job.SpotColorList.size()) + " Colors)";
    lines.push_back(spots);
    lines.push_back(kSeparator);
    lines.push_back(std::string("Cropmarks: \t") + YesNoText(job.CropMarks));
    lines.push_back(std::string("Border:\t\t") + YesNoText(job.Border));
    std::string tiled = std::string("Tiled:\t\t") + YesNoText(job.CropSection);
    if (job.MultiTiles) tiled += " #" + std::to_string(job.TileNo);
    lines.push_back(tiled);
    std::string rotated = std::string("Rotated: \t\t") + YesNoText(job.Rotate);
    if (job.MirrorX) rotated += " MirrorX";
    if (job.MirrorY) rotated += " MirrorY";
    lines.push_back(rotated);
    lines.push_back(kSeparator);
    lines.push_back("Render DPI:\t" + std::to_string(job.RenderDPI));
    std::string smoothing = std::string("Smoothing:\t") + YesNoText(job.Interpolate);
    if (job.Interpolate)
        smoothing += " (" + std::to_string((40 - job.Interpolation) * 100 / 40) + ")";
    lines.push_back(smoothing);
    lines.push_back(kSeparator);
    lines.push_back("Printer:\t\t" + DriverInfoText(app.CurrentPlotter));
    lines.push_back("Output DPI:\t" + DriverInfoText2(app.CurrentPlotter, app.UseMetric));
    lines.push_back("Destination:\t" + (out.RipToFile ? out.FileName : out.QueueText));
    std::string profile;
    if (app.CurrentPlotter.IsPlugin) profile = app.Driver().Datatype(kProfileDatatype);
    lines.push_back("Profile:\t\t" + profile);
    return lines;
}

}  // namespace corvan
