#include "shell/filedrop.h"

#include "platform/debuglog.h"
#include "platform/folders.h"
#include "shell/appcore.h"
#include "shell/jobcommands.h"
#include "shell/layercommands.h"
#include "shell/loading.h"

namespace corvan {

namespace {

void DropOne(AppCore& app, const std::string& path) {
    LogLine("Dropped: " + path);
    if (!FileExists(path)) return;
    const FileKind kind = KindOfFile(path);
    if (!app.CurrentJob || kind == FileKind::Project) {
        LoadAnything(app, path);
    } else if (kind == FileKind::Layer) {
        AddLayer(app, path);
    } else {
        // A file that is no picture is reported and leaves the background.
        LoadBackgroundImage(app, path);
    }
}

}  // namespace

void DropFiles(AppCore& app, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) DropOne(app, path);
}

}  // namespace corvan
