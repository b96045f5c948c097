#include "placement/placementops.h"

#include "job/jobsession.h"
#include "platform/numbers.h"

#include <algorithm>

namespace corvan {

void UpdateLayout(JobSession& app, bool repaint) {
    if (!app.CurrentJob) return;
    TemfPlotter& dev = app.CurrentPlotter;
    TemfFile& job = *app.CurrentJob;
    const bool roll = dev.PrintableLength == 0;
    if (roll) dev.MediaHeight = 0;
    job.MediaWidth = dev.MediaWidth;
    job.MediaHeight = dev.MediaHeight;
    job.ComputeLayout();
    if (roll) dev.MediaHeight = job.MediaHeight;
    app.Events().LayoutChanged(repaint);
    app.MarkModified();
}

void CenterJob(JobSession& app) {
    if (!app.CurrentJob || app.Updating) return;
    TemfFile& job = *app.CurrentJob;
    job.XOffset = (app.CurrentPlotter.MediaWidth - job.MediaUsedWidth) / 2;
    job.YOffset = (app.CurrentPlotter.MediaHeight - job.MediaUsedHeight) / 2;
    app.Events().JobChanged();
    UpdateLayout(app, true);
}

void StretchToFit(JobSession& app) {
    if (!app.CurrentJob || app.Updating) return;
    TemfFile& job = *app.CurrentJob;
    if (job.PageWidth == 0 || job.PageHeight == 0) return;
    const TemfPlotter& dev = app.CurrentPlotter;
    const float across = job.Rotate ? job.PageHeight : job.PageWidth;
    const float along = job.Rotate ? job.PageWidth : job.PageHeight;
    const float sx = (dev.MediaWidth - 2 * job.CropmarkSize) / across;
    const float sy =
        dev.PrintableLength > 0 ? (dev.MediaHeight - 2 * job.CropmarkSize) / along : sx;
    const float s = std::min(sx, sy);
    job.PageWidth *= s;
    job.PageHeight *= s;
    job.CheckCrop(false);
    UpdateLayout(app, false);
    CenterJob(app);
}

void ResetPosition(JobSession& app) {
    if (!app.CurrentJob || app.Updating) return;
    TemfFile& job = *app.CurrentJob;
    job.XOffset = job.YOffset = 0;
    job.Rotate = job.MirrorX = job.MirrorY = false;
    job.Copies = 1;
    app.Events().JobChanged();
    UpdateLayout(app, true);
}

void SetPageSize(JobSession& app, PageSide side, float value, bool proportional) {
    if (!app.CurrentJob || app.Updating) return;
    TemfFile& job = *app.CurrentJob;
    const float w = job.PageWidth, h = job.PageHeight;
    const bool keepRatio = w > 0 && h > 0 && proportional;
    if (side == PageSide::Width) {
        job.PageWidth = value;
        if (keepRatio) job.PageHeight = h * value / w;
    } else {
        job.PageHeight = value;
        if (keepRatio) job.PageWidth = w * value / h;
    }
    job.CheckCrop(false);
    UpdateLayout(app, true);
}

void SetCopies(JobSession& app, double value) {
    if (!app.CurrentJob || app.Updating || value < 1) return;
    app.CurrentJob->Copies = RoundToInt(std::min(value, 1000.0));
    UpdateLayout(app, true);
}

}  // namespace corvan
