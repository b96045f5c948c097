#include "shell/loading.h"

#include "imagelib/imageload.h"
#include "job/projectfile.h"
#include "placement/jobsize.h"
#include "placement/placementops.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/history.h"
#include "platform/inifile.h"
#include "platform/metafile/emf_player.h"
#include "platform/metafile/emf_reader.h"
#include "platform/metafile/layer_fonts.h"
#include "platform/paths.h"
#include "shell/appcore.h"
#include "shell/jobcommands.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <exception>

namespace corvan {

namespace {

std::string UpperExtension(const std::string& path) {
    const std::string name = FileNamePart(path);
    const auto dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

std::string Num(float v) {
    return QString::number(v, 'g', 6).toStdString();
}

void LogRect(const char* what, const emf::RectL& r) {
    for (int v : {r.left, r.top, r.right, r.bottom}) LogLine(what + Num(static_cast<float>(v)));
}

void LogHeader(const std::string& path, const emf::EmfHeader& h, float w, float ht) {
    LogLine("metafile : " + path);
    LogRect("bounds: ", h.bounds);
    LogRect("frame: ", h.frame);
    LogLine("size: " + Num(w) + " x " + Num(ht));
}

void ShowNewJob(AppCore& app) {
    app.Events().BackgroundChanged();
    RefreshAfterJobChange(app);
}

}  // namespace

FileKind KindOfFile(const std::string& path) {
    const std::string ext = UpperExtension(path);
    if (ext == ".LYR" || ext == ".EMF") return FileKind::Layer;
    if (ext == ".RIP") return FileKind::Project;
    return FileKind::Picture;
}

LoadProgress ImageLoadProgress(AppCore& app, const std::string& path) {
    const std::string text = "Loading Image:   " + FileNamePart(path);
    return [&app, text](int stage, int percent) { app.Ui().Progress(stage, percent, text); };
}

void LoadAnything(AppCore& app, const std::string& path) {
    const std::string ext = UpperExtension(path);
    LogLine("Try to Load Anything: FEXT:" + ext + ", S:" + path);
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::Layer) {
        LoadLayerAsJob(app, path);
    } else if (kind == FileKind::Project) {
        OpenProject(app, path);
    } else {
        try {
            LoadImageAsJob(app, path);
        } catch (const std::exception& e) {
            LogLine(std::string("Load image failed: ") + e.what());
            CloseJob(app, false);
        }
    }
}

bool OpenProject(AppCore& app, const std::string& path) {
    if (!FileExists(path)) {
        app.Ui().ShowError("Unable to find file: " + path);
        return false;
    }
    if (const Status readable = CheckProjectFile(path); !readable) {
        app.Ui().ShowError(readable.Error());  // the current job stays as it is
        return false;
    }
    if (!AskSaveChanges(app)) return false;
    CloseJob(app, false);
    app.Ui().ProcessMessages();
    app.Ui().StatusText("Loading Job:   " + path);
    app.Ui().ProcessMessages();
    const Status loaded = LoadProject(app, path);
    if (!app.CurrentJob) {
        app.Ui().ShowError(loaded.Error());
        RefreshAfterJobChange(app);
        return false;
    }
    AddRecent(app, path);
    app.Views.ViewMode = ViewFlags::Printer;
    app.Views.CutView = false;
    RefreshAfterJobChange(app);
    app.Events().Repaint();
    app.Front().ActivateProjectTab();
    app.CurrentJob->Modified = false;
    app.SaveEnabled = false;
    app.Events().StateChanged();
    return true;
}

void LoadLayerAsJob(AppCore& app, const std::string& path) {
    LogLine("Try to Load LYR: " + path);
    float w = 0, h = 0;
    if (const auto reader = emf::EmfReader::OpenFile(path)) {
        const emf::EmfHeader& header = reader->Header();
        const LayerPageSize size = ProposedLayerPageSize(header);
        w = size.width;
        h = size.height;
        LogHeader(path, header, w, h);
        if (size.fromFrame)
            LogLine("Reference device does not match the picture: frame size proposed");
    }
    if (w < 1 || h < 1) {
        app.Ui().ShowError("EMF does not appear to be valid.");
        return;
    }
    const std::optional<JobSize> size = app.Front().AskJobSize({nullptr, false, w, h});
    if (!size) return;
    if (!AskSaveChanges(app)) return;
    CloseJob(app, false);
    app.CurrentJob = std::make_unique<TemfFile>();
    app.CurrentJob->Reset(size->width, size->height);
    app.CurrentJob->Layers.push_back(path);
    ShowNewJob(app);
    MoveToTop(app.EmfHist, path, kHistoryEntries);
    app.CurrentJob->Modified = false;
    app.SaveEnabled = false;
}

bool LoadImageAsJob(AppCore& app, const std::string& path) {
    LogLine("Try to load Image: " + path);
    ImageLoadResult loaded = LoadImage24(path, ImageLoadProgress(app, path));
    if (loaded.missing) app.Ui().ShowError(MissingImageText(path));
    if (!loaded.error.empty()) {
        LogLine("Unable to load image: " + path + ": " + loaded.error);
        app.Ui().ShowWarning("Unable to load image: " + path + "\r" + loaded.error);
        return false;
    }
    if (!loaded.image) return false;
    const float pw = static_cast<float>(loaded.image->Width());
    const float ph = static_cast<float>(loaded.image->Height());
    const std::optional<JobSize> size = app.Front().AskJobSize({loaded.image.get(), true, pw, ph});
    if (!size) return false;
    if (!AskSaveChanges(app)) return false;
    CloseJob(app, false);
    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    job.Reset(size->width, size->height);
    job.BackgroundImage = std::move(loaded.image);
    job.BackgroundFile = path;
    job.HasImage = true;
    ShowNewJob(app);
    MoveToTop(app.ImageHist, path, kHistoryEntries);
    job.Modified = false;
    app.SaveEnabled = false;
    return true;
}

std::vector<std::string> InstallLayerFonts(const std::string& path) {
    return emf::InstallLayerFonts(path, ReadPath("CacheDir"));
}

}  // namespace corvan
