#include "shell/ui/helpmanual.h"

#include "platform/folders.h"
#include "platform/userinterface.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace corvan {

std::string ManualFile() {
    for (const std::string& folder : {ProgramFolder(), InstalledDataFolder()}) {
        const std::string path = folder + "CorvanRIP.pdf";
        if (FileExists(path)) return path;
    }
    return {};
}

bool OpenManualPage(UserInterface& ui, int page) {
    const std::string manual = ManualFile();
    if (manual.empty()) {
        ui.ShowPlain("The CorvanRIP manual is not installed.");
        return false;
    }
    const QString file = QString::fromStdString(manual);
    const QString p = QString::number(page);
    const struct {
        const char* program;
        QStringList args;
    } readers[] = {
        {"evince", {"--page-label=" + p, file}},
        {"okular", {"--page", p, file}},
        {"qpdfview", {file + "#" + p}},
        {"zathura", {"--page=" + p, file}},
    };
    for (const auto& r : readers) {
        const QString exe = QStandardPaths::findExecutable(QString::fromUtf8(r.program));
        if (!exe.isEmpty() && QProcess::startDetached(exe, r.args)) return true;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(file))) return true;
    ui.ShowError("Unable to open " + manual);
    return false;
}

std::optional<int> ManualChapterPage(const std::string& chapter) {
    const std::string manual = ManualFile();
    if (manual.empty()) return std::nullopt;
    QFile pages(QString::fromStdString(manual.substr(0, manual.size() - 4) + ".pages"));
    if (!pages.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    while (!pages.atEnd()) {
        const QString line = QString::fromUtf8(pages.readLine()).trimmed();
        const int tab = line.indexOf('\t');
        if (tab > 0 && line.mid(tab + 1).toStdString() == chapter) return line.left(tab).toInt();
    }
    return std::nullopt;
}

bool OpenManualChapter(UserInterface& ui, const std::string& chapter) {
    return OpenManualPage(ui, ManualChapterPage(chapter).value_or(1));
}

}  // namespace corvan
