#include "shell/jobcommands.h"

#include "imagelib/imageload.h"
#include "job/projectfile.h"
#include "placement/placementops.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/history.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/preferences.h"
#include "shell/appcore.h"
#include "shell/loading.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace corvan {

// The dialog matches patterns without regard to letter case, so "job.rip"
// is offered too.
const char* const kProjectFilter = "RIP Project File (*.RIP)|*.RIP";
const char* const kLayerFilter =
    "Vector Layers (*.EMF *.emf *.LYR *.lyr)|*.EMF *.emf *.LYR *.lyr|"
    "All files (*)|*";
const char* const kImageFilter =
    "Images (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.tif *.TIF *.tiff *.TIFF *.png *.PNG "
    "*.gif *.GIF)|*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.tif *.TIF *.tiff *.TIFF *.png *.PNG "
    "*.gif *.GIF|All files (*)|*";

namespace {

void ShowAndEnable(AppCore& app) {
    app.Events().JobChanged();
    app.Events().StateChanged();
}

// Artwork changed: the preview is rebuilt and the job counts as changed.
void ArtworkChanged(AppCore& app) {
    app.CurrentJob->PreviewDirty = true;
    app.MarkModified();
    ShowAndEnable(app);
    app.Events().Repaint();
}

std::optional<std::string> AskProjectName(AppCore& app, FileDialogRequest::Mode mode,
                                          const std::string& proposed) {
    FileDialogRequest req;
    req.mode = mode;
    req.title =
        mode == FileDialogRequest::Mode::Save ? "Save RIP Project File" : "Load RIP Project File";
    req.initialDir = ReadPath("DocumentDir");
    req.fileName = proposed;
    req.filter = kProjectFilter;
    req.defaultExt = "RIP";
    req.projectPreview = true;
    return app.Ui().ChooseFile(req);
}

// Linux stand-ins for the companion programs: same names, without ".exe".
std::string CompanionProgram(const std::string& name) {
    return ProgramFolder() + name;
}

}  // namespace

void RefreshAfterJobChange(AppCore& app) {
    ShowAndEnable(app);
    UpdateLayout(app, true);
}

bool AskSaveChanges(AppCore& app) {
    if (!app.CurrentJob || !app.CurrentJob->Modified) return true;
    const Button answer =
        app.Ui().Message(MessageKind::Confirmation, "Save changes to current job?", YesNoCancel);
    if (answer == ButtonCancel || answer == ButtonNone) return false;
    if (answer == ButtonYes) {
        SaveJob(app);
        if (app.CurrentJob->Modified && !app.Ui().AskYesNo("Do you wish to continue?"))
            return false;
    }
    app.CurrentJob->Modified = false;
    return true;
}

void DiscardJob(AppCore& app) {
    app.CurrentJob.reset();
    app.PreviewImage.reset();
    app.SaveEnabled = false;
    app.Events().JobChanged();
    UpdateLayout(app, true);
    ShowAndEnable(app);
    app.Events().Repaint();
}

bool CloseJob(AppCore& app, bool postStart) {
    if (!app.CurrentJob) return false;
    if (!AskSaveChanges(app)) return false;
    DiscardJob(app);
    if (postStart) app.Front().PostStartMessage();
    return true;
}

void NewJob(AppCore& app) {
    JobSizeRequest req;
    req.width = static_cast<float>(ReadPrefNumber("def_jobwidth", 200));
    req.height = static_cast<float>(ReadPrefNumber("def_jobheight", 280));
    const std::optional<JobSize> size = app.Front().AskJobSize(req);
    if (!size) return;
    if (!AskSaveChanges(app)) return;
    CloseJob(app, false);

    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    job.Reset(size->width, size->height);
    app.Driver().JobLoaded();
    job.Interpolate = ReadPrefBool("RIP_Smooth", job.Interpolate);
    job.Interpolation = RoundToInt(ReadPrefNumber("RIP_smoothLevel", job.Interpolation));
    job.RenderDPI = RoundToInt(ReadPrefNumber("RIP_DPI", job.RenderDPI));
    job.CropMarks = ReadPrefBool("use_cropmarks", job.CropMarks);
    job.XGap = static_cast<float>(ReadPrefNumber("def_xgap", job.XGap));
    job.YGap = static_cast<float>(ReadPrefNumber("def_ygap", job.YGap));
    RefreshAfterJobChange(app);
    job.Modified = false;
    app.SaveEnabled = false;
}

void SaveJob(AppCore& app) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    if (job.FileName.empty()) {
        auto name = AskProjectName(app, FileDialogRequest::Mode::Save, {});
        if (!name || name->empty()) return;
        job.FileName = *name;
    }
    const PrintedTiles printed = ReadPrintedTiles(job.FileName);
    app.Ui().SetBusy(true);
    const bool saved = SaveProject(app, job.FileName, printed);
    app.Ui().SetBusy(false);
    // A failed save has said why and keeps the job modified; the recent list
    // only ever names files that exist.
    if (!saved) return;
    AddRecent(app, job.FileName);
    app.SaveEnabled = false;
    job.Modified = false;
    app.Events().StateChanged();
    app.Events().Repaint();  // the title loses its change mark, Save greys out
}

void SaveJobAs(AppCore& app) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    auto name = AskProjectName(app, FileDialogRequest::Mode::Save, job.FileName);
    if (!name || name->empty()) return;
    // The old file goes along so that its printed-tile record survives the
    // rename; best effort, and never onto itself.
    if (!job.FileName.empty() && *name != job.FileName && FileExists(job.FileName)) {
        const QString to = QString::fromStdString(*name);
        QFile::remove(to);
        if (!QFile::copy(QString::fromStdString(job.FileName), to))
            LogLine("Save As: could not copy " + job.FileName);
    }
    job.FileName = *name;
    SaveJob(app);
}

void OpenProjectCommand(AppCore& app) {
    auto name = AskProjectName(app, FileDialogRequest::Mode::Open, {});
    if (name && !name->empty()) OpenProject(app, *name);
}

void OpenRecent(AppCore& app, int index) {
    if (index < 0 || index >= static_cast<int>(app.DocHist.size())) return;
    const std::string path = app.DocHist[static_cast<std::size_t>(index)];
    OpenProject(app, path);
}

void AddRecent(AppCore& app, const std::string& path) {
    MoveToTop(app.DocHist, path, kRecentProjects, true);
    app.Front().RecentChanged();
}

std::string PickLibraryFile(AppCore& app, bool layers) {
    LogLine("Show fload");
    FileDialogRequest req;
    req.mode = FileDialogRequest::Mode::Open;
    req.title = layers ? "Load Vector Layer" : "Load Image";
    req.initialDir = ReadPath(layers ? "EMFDir" : "ImageDir");
    req.filter = layers ? kLayerFilter : kImageFilter;
    auto chosen = app.Front().ChooseLibraryFile(layers, req, app.Ui());
    LogLine("done");
    LogLine("Free Fload");
    LogLine("Fdone");
    if (!chosen || !FileExists(*chosen)) return {};
    return *chosen;
}

void OpenLayerAsNewCommand(AppCore& app) {
    const std::string path = PickLibraryFile(app, true);
    if (!path.empty()) LoadLayerAsJob(app, path);
}

void OpenImageAsNewCommand(AppCore& app) {
    const std::string path = PickLibraryFile(app, false);
    if (!path.empty()) LoadImageAsJob(app, path);
}

void LoadBackgroundImage(AppCore& app, const std::string& historyPath) {
    if (!app.CurrentJob) return;
    const std::string path = historyPath.empty() ? PickLibraryFile(app, false) : historyPath;
    if (path.empty()) return;
    TemfFile& job = *app.CurrentJob;
    app.Ui().SetBusy(true);
    // Pages without pixels (EPS, PDF) are drawn at the job's resolution.
    DecodeOptions options;
    if (job.RenderDPI > 0) options.vectorDpi = job.RenderDPI;
    ImageLoadResult loaded = LoadImage24(path, ImageLoadProgress(app, path), options);
    app.Ui().SetBusy(false);
    if (!loaded.image) {
        // The picture the job had stays: a file that cannot be read must
        // not cost the operator the background already placed.
        if (loaded.missing) app.Ui().ShowError(MissingImageText(path));
        if (!loaded.error.empty())
            app.Ui().ShowWarning("Unable to load image: " + path + "\r" + loaded.error);
        return;
    }
    job.BackgroundFile = path;
    job.BackgroundImage = std::move(loaded.image);
    MoveToTop(app.ImageHist, path, kHistoryEntries);
    job.HasImage = true;
    app.Events().BackgroundChanged();
    ArtworkChanged(app);
}

void BackgroundEdited(AppCore& app, std::unique_ptr<Bitmap24> picture, const std::string& file) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    if (picture) {
        job.BackgroundImage = std::move(picture);
        job.BackgroundFile = file;
        job.HasImage = true;
        MoveToTop(app.ImageHist, file, kHistoryEntries);
        app.Events().BackgroundChanged();
    }
    ArtworkChanged(app);
}

std::string EditedImageName(const std::string& original) {
    const QFileInfo info(QString::fromStdString(original));
    const std::string base =
        (info.path() + "/" + info.completeBaseName()).toStdString() + "_edited";
    std::string name = base + ".png";
    for (int n = 2; FileExists(name); ++n) name = base + std::to_string(n) + ".png";
    return name;
}

void ClearBackgroundImage(AppCore& app) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    job.BackgroundImage.reset();
    job.BackgroundFile.clear();
    job.HasImage = false;
    app.Events().BackgroundChanged();
    ArtworkChanged(app);
}

void SetDrawImage(AppCore& app, bool drawImage, unsigned backgroundColor) {
    if (app.Updating || !app.CurrentJob) return;
    app.CurrentJob->DrawImage = drawImage;
    app.CurrentJob->BackgroundColor = backgroundColor;
    app.MarkModified();
    app.CurrentJob->PreviewDirty = true;
    app.Events().Repaint();
}

bool LaunchPackagingTool(const AppCore& app) {
    QStringList args;
    // The tool reads the project name as one argument; a never-saved job
    // hands over an empty one.
    if (app.CurrentJob) args << QString::fromStdString(app.CurrentJob->FileName);
    return QProcess::startDetached(QString::fromStdString(CompanionProgram("CorvanPACK")), args);
}

bool DxfConverterInstalled() {
    return FileExists(CompanionProgram("DXF_Loader"));
}

bool LaunchDxfConverter() {
    return QProcess::startDetached(QString::fromStdString(CompanionProgram("DXF_Loader")), {});
}

}  // namespace corvan
