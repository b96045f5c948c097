#include "platform/ui/icons.h"

#include <QFile>

namespace corvan {

namespace {

// Names the tool bar uses; a theme that knows them all is complete enough.
const char* const kCoreNames[] = {"document-new", "document-open", "document-save",
                                  "document-print", "help-contents"};

QIcon OwnDrawing(const QString& name) {
    QIcon icon;
    for (int size : {kMenuIconSize, kToolBarIconSize}) {
        const QString file = QStringLiteral(":/corvan/icons/%1/%2.png").arg(size).arg(name);
        if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon;
}

bool ThemeHasCoreNames() {
    for (const char* name : kCoreNames)
        if (!QIcon::hasThemeIcon(QString::fromLatin1(name))) return false;
    return true;
}

}  // namespace

QIcon ThemedIcon(const QString& name) {
    return QIcon::fromTheme(name, OwnDrawing(name));
}

void SetUpIconTheme() {
    // A bare X server or a desktop without a full theme gives mixed or no
    // icons; the packaged theme gives one look.
    // The desktop's theme is judged on its own, not through a fallback.
    QIcon::setFallbackThemeName(QString());
    if (!ThemeHasCoreNames()) QIcon::setThemeName(QString::fromLatin1(kPackagedIconTheme));
    // Names the chosen theme lacks are looked up in the packaged one next.
    QIcon::setFallbackThemeName(QString::fromLatin1(kPackagedIconTheme));
}

}  // namespace corvan
