#include "placement/positioncommands.h"

#include "placement/jobsize.h"
#include "placement/placementops.h"
#include "shell/appcore.h"

#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

TemfFile* EditableJob(AppCore& app) {
    return app.Updating ? nullptr : app.CurrentJob.get();
}

}  // namespace

void SetPlacementValue(AppCore& app, PlacementValue which, float v) {
    TemfFile* job = EditableJob(app);
    if (!job) return;
    switch (which) {
        case PlacementValue::XOffset:
            job->XOffset = v;
            break;
        case PlacementValue::YOffset:
            job->YOffset = v;
            break;
        case PlacementValue::XGap:
            job->XGap = v;
            break;
        case PlacementValue::YGap:
            job->YGap = v;
            break;
    }
    UpdateLayout(app, true);
}

void SetPlacementFlags(AppCore& app, bool rotate, bool mirrorX, bool mirrorY) {
    TemfFile* job = EditableJob(app);
    if (!job) return;
    job->Rotate = rotate;
    job->MirrorX = mirrorX;
    job->MirrorY = mirrorY;
    UpdateLayout(app, true);
}

void SetCropEdge(AppCore& app, CropEdge edge, float v) {
    TemfFile* job = EditableJob(app);
    if (!job) return;
    switch (edge) {
        case CropEdge::Left:
            job->CropLeft = v;
            break;
        case CropEdge::Top:
            job->CropTop = v;
            break;
        case CropEdge::Right:
            job->CropRight = v;
            break;
        case CropEdge::Bottom:
            job->CropBottom = v;
            break;
    }
    job->CheckCrop(true);
    UpdateLayout(app, true);
}

void SetCropSection(AppCore& app, bool on) {
    TemfFile* job = EditableJob(app);
    if (!job) return;
    job->CropSection = on;
    UpdateLayout(app, true);
    if (app.OnStateChanged) app.OnStateChanged();
}

void FullCrop(AppCore& app) {
    if (!app.CurrentJob) return;
    app.CurrentJob->CheckCrop(false);
    UpdateLayout(app, true);
}

void ChangeJobSize(AppCore& app) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    AppCore::JobSizeRequest req{app.PreviewImage.get(), false, job.PageWidth, job.PageHeight};
    std::optional<AppCore::JobSize> size;
    if (app.AskJobSize) size = app.AskJobSize(req);
    if (!size) return;
    job.PageWidth = size->width;
    job.PageHeight = size->height;
    job.CheckCrop(false);
    job.PreviewDirty = true;
    UpdateLayout(app, true);
}

// Media of no size lays nothing out and divides by zero downstream.
static bool RefuseEmptyMedia(AppCore& app, float v) {
    if (v > 0) return false;
    app.Ui().ShowWarning("The media size must be above 0.");
    return true;
}

void SetMediaWidth(AppCore& app, float v) {
    if (app.Updating || RefuseEmptyMedia(app, v)) return;
    TemfPlotter& dev = app.CurrentPlotter;
    if (v > dev.PrintableWidth) app.Ui().ShowWarning("The selected size is too big!");
    dev.MediaWidth = std::min(dev.PrintableWidth, v);
    UpdateLayout(app, true);
}

void SetMediaHeight(AppCore& app, float v) {
    if (app.Updating || RefuseEmptyMedia(app, v)) return;
    TemfPlotter& dev = app.CurrentPlotter;
    if (v > dev.PrintableLength) app.Ui().ShowPlain("error, too big!");
    dev.MediaHeight = std::min(dev.PrintableLength, v);
    UpdateLayout(app, true);
}

bool ChooseMediaPreset(AppCore& app, const std::string& item, bool metric) {
    const auto width = MediaPresetWidth(item, metric);
    if (!width) return false;
    SetMediaWidth(app, *width);
    return std::fabs(app.CurrentPlotter.MediaWidth - *width) <= 2;
}

}  // namespace corvan
