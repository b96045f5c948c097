#include "jobload.h"

#include "job/projectfile.h"
#include "platform/folders.h"
#include "platform/metafile/layer_fonts.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace corvan::cli {

namespace {

constexpr float kDefaultRollWidth = 1625;  // a 64-inch roll, in mm

// `file` if it exists, else the same name in `folder` if that exists.
bool ResolveBeside(std::string& file, const QString& folder) {
    if (file.empty() || FileExists(file)) return false;
    const std::string beside = (folder + "/").toStdString() + FileNamePart(file);
    if (!FileExists(beside)) return false;
    file = beside;
    return true;
}

}  // namespace

bool LoadJobForRendering(AppCore& app, const std::string& path, std::string& error) {
    const QFileInfo info(QString::fromStdString(path));
    if (!info.isFile()) {
        error = path + ": no such project file";
        return false;
    }
    Status loaded = LoadProject(app, info.absoluteFilePath().toStdString());
    if (!app.CurrentJob) {
        error = loaded.Error();
        return false;
    }
    TemfFile& job = *app.CurrentJob;
    const QString folder = info.absolutePath();
    for (std::string& layer : job.Layers)
        if (ResolveBeside(layer, folder)) emf::InstallLayerFonts(layer, ReadPath("CacheDir"));
    if (ResolveBeside(job.BackgroundFile, folder)) loaded = ReloadBackground(app);
    if (!loaded) {
        error = loaded.Error();
        for (char& c : error)
            if (c == '\r') c = ' ';
        return false;
    }
    // Without a device the copies are laid out on a roll of the width the
    // layout fits them to; the project does not store the media.
    if (job.MediaWidth <= 0)
        job.MediaWidth =
            app.CurrentPlotter.MediaWidth > 0 ? app.CurrentPlotter.MediaWidth : kDefaultRollWidth;
    job.ComputeLayout();
    return true;
}

bool SavePng(Bitmap24& image, const std::string& path, std::string& error) {
    QSaveFile file(QString::fromStdString(path));  // written aside, renamed when complete
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    QImageWriter writer(&file, "png");
    writer.setCompression(15);  // zlib level 1: large renders stay fast to write
    if (!writer.write(image.View())) {
        error = writer.errorString().toStdString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace corvan::cli
