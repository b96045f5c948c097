// The window frame: the title bar with the job's name ("Untitled" before its
// first save; Qt's "[*]" shows the unsaved-changes mark, and the window
// system adds the program's name after it), and a size that fits the screen.
#include "platform/folders.h"
#include "shell/ui/mainwindow.h"

#include <QScreen>

namespace corvan {

void TForm1::ShowTitle() {
    const QString program = QStringLiteral("CorvanRIP SE");
    if (!app_.CurrentJob) {
        setWindowTitle(program);
        setWindowModified(false);
        return;
    }
    const std::string& file = app_.CurrentJob->FileName;
    const QString name =
        file.empty() ? QStringLiteral("Untitled") : QString::fromStdString(FileNamePart(file));
    setWindowTitle(name + QStringLiteral("[*]"));
    setWindowModified(app_.CurrentJob->Modified);
}

QSize TForm1::FitScreen(QSize wanted) const {
    const QScreen* s = screen();
    if (!s) return wanted;
    // The frame is not known before the window is shown: leave room for a
    // title bar and borders.
    const QRect room = s->availableGeometry();
    return wanted.boundedTo(QSize(room.width() - 8, room.height() - 40)).expandedTo(minimumSize());
}

}  // namespace corvan
