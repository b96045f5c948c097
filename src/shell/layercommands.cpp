#include "shell/layercommands.h"

#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/history.h"
#include "platform/metafile/emf_reader.h"
#include "shell/appcore.h"
#include "shell/jobcommands.h"
#include "shell/loading.h"

#include <utility>

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

bool ValidLayer(const AppCore& app, int index) {
    return app.CurrentJob && index >= 0 &&
           static_cast<std::size_t>(index) < app.CurrentJob->Layers.size();
}

}  // namespace

void AppendLayer(AppCore& app, const std::string& path) {
    if (!app.CurrentJob) return;
    AddLayerFile(app, path);
    LayersChanged(app);
}

bool AddLayer(AppCore& app, const std::string& path) {
    if (!app.CurrentJob || path.empty() || !FileExists(path)) return false;
    AppendLayer(app, path);
    return true;
}

bool LoadLayerCommand(AppCore& app) {
    if (!app.CurrentJob) return false;
    return AddLayer(app, PickLibraryFile(app, true));
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

bool DeleteLayer(AppCore& app, int index) {
    if (!ValidLayer(app, index)) return false;
    auto& layers = app.CurrentJob->Layers;
    LogLine("Layer removed: " + layers[static_cast<std::size_t>(index)]);
    layers.erase(layers.begin() + index);
    LayersChanged(app);
    return true;
}

int MoveLayer(AppCore& app, int index, int step) {
    const int to = index + step;
    if (!ValidLayer(app, index) || !ValidLayer(app, to)) return -1;
    auto& layers = app.CurrentJob->Layers;
    std::swap(layers[static_cast<std::size_t>(index)], layers[static_cast<std::size_t>(to)]);
    LayersChanged(app);
    return to;
}

bool ParkLayer(AppCore& app, int index, std::vector<std::string>& stored) {
    if (!ValidLayer(app, index)) return false;
    stored.push_back(app.CurrentJob->Layers[static_cast<std::size_t>(index)]);
    return DeleteLayer(app, index);
}

bool UnparkLayer(AppCore& app, int storedIndex, std::vector<std::string>& stored) {
    if (!app.CurrentJob || storedIndex < 0 ||
        static_cast<std::size_t>(storedIndex) >= stored.size())
        return false;
    const auto at = stored.begin() + storedIndex;
    app.CurrentJob->Layers.push_back(*at);
    stored.erase(at);
    LayersChanged(app);
    return true;
}

std::string LayerInfoLine(int index, const std::string& path) {
    std::uint32_t records = 0, bytes = 0;
    if (const auto reader = emf::EmfReader::OpenFile(path)) {
        records = reader->Header().records;
        bytes = reader->Header().bytes;
    }
    return "Layer #" + std::to_string(index + 1) + "  (Objects: " + std::to_string(records) +
           ")  Size: " + std::to_string(bytes / 1024) + " Kb.";
}

}  // namespace corvan
