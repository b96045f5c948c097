#include "shell/layercommands.h"

#include "platform/debuglog.h"
#include "platform/history.h"
#include "shell/appcore.h"
#include "shell/loading.h"

namespace corvan {

namespace {

void LayersChanged(AppCore& app) {
    app.CurrentJob->PreviewDirty = true;
    app.MarkModified();
    app.Events().JobChanged();
    app.Events().StateChanged();
    app.Events().Repaint();
}

void AddLayerFile(AppCore& app, const std::string& path) {
    MoveToTop(app.EmfHist, path, kHistoryEntries);
    app.CurrentJob->Layers.push_back(path);
    InstallLayerFonts(path);
    LogLine("Layer added: " + path);
}

}  // namespace

void AppendLayer(AppCore& app, const std::string& path) {
    if (!app.CurrentJob) return;
    AddLayerFile(app, path);
    LayersChanged(app);
}

void AppendTracedLayer(AppCore& app, const std::string& path, Colour contourColour) {
    if (!app.CurrentJob) return;
    AddLayerFile(app, path);
    TemfFile& job = *app.CurrentJob;
    job.ContourCut = true;
    job.CutColor = contourColour;
    job.CutLines = true;
    LayersChanged(app);
}

}  // namespace corvan
