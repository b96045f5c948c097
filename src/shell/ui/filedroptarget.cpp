#include "shell/ui/filedroptarget.h"

#include "shell/filedrop.h"
#include "shell/ui/application.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace corvan {

namespace {

class FileDropFilter : public QObject {
public:
    FileDropFilter(QWidget* window, AppCore& app) : QObject(window), app_(app) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDropEvent*>(event);
                if (DroppedFiles(drag->mimeData()).empty()) return false;
                drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                std::vector<std::string> files = DroppedFiles(drop->mimeData());
                if (files.empty()) return false;
                drop->acceptProposedAction();
                DropFilesLater(watched, app_, std::move(files));
                return true;
            }
            default:
                return false;
        }
    }

private:
    AppCore& app_;
};

}  // namespace

std::vector<std::string> DroppedFiles(const QMimeData* mime) {
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    return files;
}

void DropFilesLater(QObject* context, AppCore& app, std::vector<std::string> paths) {
    QTimer::singleShot(0, context, [&app, paths = std::move(paths)] {
        RunGuarded([&] { DropFiles(app, paths); });
    });
}

void AcceptFileDrops(QWidget* window, AppCore& app) {
    window->setAcceptDrops(true);
    window->installEventFilter(new FileDropFilter(window, app));
}

}  // namespace corvan
