#include "shell/filedrop.h"

#include "imagelib/imagedecoder.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "shell/appcore.h"
#include "shell/jobcommands.h"
#include "shell/layercommands.h"
#include "shell/loading.h"

#include <QFile>
#include <QImageReader>

#include <array>

namespace corvan {

namespace {

// Told from the file's first bytes, as the image loader tells it, so that a
// stray document dropped by mistake cannot take the job's background away.
bool LooksLikePicture(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    std::array<std::uint8_t, 32> head{};
    const qint64 got = file.read(reinterpret_cast<char*>(head.data()), head.size());
    if (got <= 0) return false;
    if (SniffImageFormat(std::span(head.data(), static_cast<std::size_t>(got))) !=
        ImageFormat::Other)
        return true;
    file.seek(0);
    return !QImageReader::imageFormat(&file).isEmpty();
}

void DropOne(AppCore& app, const std::string& path) {
    LogLine("Dropped: " + path);
    if (!FileExists(path)) return;
    const FileKind kind = KindOfFile(path);
    if (!app.CurrentJob || kind == FileKind::Project) {
        LoadAnything(app, path);
    } else if (kind == FileKind::Layer) {
        AddLayer(app, path);
    } else if (LooksLikePicture(path)) {
        LoadBackgroundImage(app, path);
    } else {
        app.Ui().ShowWarning("Unable to load image: " + path);
    }
}

}  // namespace

void DropFiles(AppCore& app, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) DropOne(app, path);
}

}  // namespace corvan
