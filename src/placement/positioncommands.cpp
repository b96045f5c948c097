#include "placement/positioncommands.h"

#include "job/jobsession.h"
#include "placement/jobsize.h"
#include "placement/placementops.h"

#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

TemfFile* EditableJob(JobSession& app) {
    return app.Updating ? nullptr : app.CurrentJob.get();
}

}  // namespace

void SetPlacementValue(JobSession& app, PlacementValue which, float v) {
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

void SetPlacementFlags(JobSession& app, bool rotate, bool mirrorX, bool mirrorY) {
    TemfFile* job = EditableJob(app);
    if (!job) return;
    job->Rotate = rotate;
    job->MirrorX = mirrorX;
    job->MirrorY = mirrorY;
    UpdateLayout(app, true);
}

void SetCropEdge(JobSession& app, CropEdge edge, float v) {
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

void SetCropSection(JobSession& app, bool on) {
    TemfFile* job = EditableJob(app);
    if (!job) return;
    job->CropSection = on;
    UpdateLayout(app, true);
    app.Events().StateChanged();
}

void FullCrop(JobSession& app) {
    if (!app.CurrentJob) return;
    app.CurrentJob->CheckCrop(false);
    UpdateLayout(app, true);
}

void ChangeJobSize(JobSession& app) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    const std::optional<JobSize> size =
        app.Events().AskJobSize({app.PreviewImage.get(), false, job.PageWidth, job.PageHeight});
    if (!size) return;
    job.PageWidth = size->width;
    job.PageHeight = size->height;
    job.CheckCrop(false);
    job.PreviewDirty = true;
    UpdateLayout(app, true);
}

void SetMediaWidth(JobSession& app, float v) {
    if (app.Updating) return;
    TemfPlotter& dev = app.CurrentPlotter;
    if (v > dev.PrintableWidth) app.Ui().ShowWarning("The selected size is too big!");
    dev.MediaWidth = std::min(dev.PrintableWidth, v);
    UpdateLayout(app, true);
}

void SetMediaHeight(JobSession& app, float v) {
    if (app.Updating) return;
    TemfPlotter& dev = app.CurrentPlotter;
    if (v > dev.PrintableLength) app.Ui().ShowPlain("error, too big!");
    dev.MediaHeight = std::min(dev.PrintableLength, v);
    UpdateLayout(app, true);
}

bool ChooseMediaPreset(JobSession& app, const std::string& item, bool metric) {
    const auto width = MediaPresetWidth(item, metric);
    if (!width) return false;
    SetMediaWidth(app, *width);
    return std::fabs(app.CurrentPlotter.MediaWidth - *width) <= 2;
}

}  // namespace corvan
