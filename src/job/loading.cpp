#include "job/loading.h"

#include "job/projectfile.h"
#include "placement/placementops.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/metafile/emf_player.h"
#include "platform/metafile/emf_reader.h"
#include "raster/imageload.h"
#include "shell/appcore.h"
#include "platform/debuglog.h"
#include "platform/history.h"
#include "shell/jobcommands.h"
#include "platform/paths.h"

#include <QFontDatabase>
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
    if (app.OnBackgroundChanged) app.OnBackgroundChanged();
    RefreshAfterJobChange(app);
}

}  // namespace

LoadProgress ImageLoadProgress(AppCore& app, const std::string& path) {
    const std::string text = "Loading Image:   " + FileNamePart(path);
    return [&app, text](int stage, int percent) { app.Ui().Progress(stage, percent, text); };
}

void LoadAnything(AppCore& app, const std::string& path) {
    const std::string ext = UpperExtension(path);
    LogLine("Try to Load Anything: FEXT:" + ext + ", S:" + path);
    if (ext == ".LYR" || ext == ".EMF") {
        LoadLayerAsJob(app, path);
    } else if (ext == ".RIP") {
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
    if (!AskSaveChanges(app)) return false;
    CloseJob(app, false);
    app.Ui().ProcessMessages();
    app.Ui().StatusText("Loading Job:   " + path);
    app.Ui().ProcessMessages();
    LoadProject(app, path);
    AddRecent(app, path);
    app.CurrentView = AppCore::View::Printer;
    app.CutView = false;
    RefreshAfterJobChange(app);
    if (app.OnRepaint) app.OnRepaint();
    if (app.OnActivateProjectTab) app.OnActivateProjectTab();
    app.CurrentJob->Modified = false;
    app.SaveEnabled = false;
    if (app.OnStateChanged) app.OnStateChanged();
    return true;
}

void LoadLayerAsJob(AppCore& app, const std::string& path) {
    LogLine("Try to Load LYR: " + path);
    float w = 0, h = 0;
    if (const auto reader = emf::EmfReader::OpenFile(path)) {
        const emf::EmfHeader& header = reader->Header();
        w = 10.0f * static_cast<float>(header.deviceMillimetres.cx);
        h = 10.0f * static_cast<float>(header.deviceMillimetres.cy);
        LogHeader(path, header, w, h);
    }
    if (w < 1 || h < 1) {
        app.Ui().ShowError("EMF does not appear to be valid.");
        return;
    }
    std::optional<AppCore::JobSize> size = AppCore::JobSize{w, h};
    if (app.AskJobSize) size = app.AskJobSize({nullptr, false, w, h});
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
    if (!loaded.error.empty()) {
        WarningBox("Unable to load image: " + path);
        return false;
    }
    if (!loaded.image) return false;
    const float pw = static_cast<float>(loaded.image->Width());
    const float ph = static_cast<float>(loaded.image->Height());
    // Without a size question the picture is taken at 100 pixels per inch.
    std::optional<AppCore::JobSize> size = AppCore::JobSize{pw * 25.4f / 100, ph * 25.4f / 100};
    if (app.AskJobSize) size = app.AskJobSize({loaded.image.get(), true, pw, ph});
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
    std::vector<std::string> registered;
    const std::vector<std::string> faces = emf::ListLayerFonts(path);
    const std::string folder = ReadPath("CacheDir");
    const QStringList known = QFontDatabase::families();
    for (const std::string& face : faces) {
        const QString name = QString::fromStdString(face);
        if (known.contains(name, Qt::CaseInsensitive)) continue;
        for (const char* suffix : {".TTF", "_Bold.TTF", "_Italic.TTF", "_BoldItalic.TTF"}) {
            const std::string file = folder + face + suffix;
            if (!FileExists(file)) continue;
            // A file that is not a usable font is ignored.
            if (QFontDatabase::addApplicationFont(QString::fromStdString(file)) >= 0)
                registered.push_back(file);
        }
    }
    return registered;
}

}  // namespace corvan
