#include "platform/ui/icons.h"

#include <QIcon>
#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

namespace corvan {
namespace {

// Restores the icon themes the other tests run with.
class IconThemes : public ::testing::Test {
protected:
    void TearDown() override {
        QIcon::setThemeName(theme_);
        QIcon::setFallbackThemeName(fallback_);
        QIcon::setThemeSearchPaths(paths_);
    }
    const QString theme_ = QIcon::themeName();
    const QString fallback_ = QIcon::fallbackThemeName();
    const QStringList paths_ = QIcon::themeSearchPaths();
};

// Without any theme that knows the names, our own drawings stand in at both
// sizes, and a name we never drew gives no icon rather than a wrong one.
TEST_F(IconThemes, OwnDrawingsStandInWithoutATheme) {
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    QIcon::setFallbackThemeName(QStringLiteral("no-such-theme"));
    for (const char* name : {"document-new", "document-open", "document-save", "document-print",
                             "help-contents", "dialog-warning", "media-playback-start"}) {
        const QIcon icon = ThemedIcon(QString::fromLatin1(name));
        for (int size : {kMenuIconSize, kToolBarIconSize}) {
            const QImage picture = icon.pixmap(size, size).toImage();
            ASSERT_EQ(picture.size(), QSize(size, size)) << name;
            EXPECT_GT(qAlpha(picture.pixel(size / 2, size / 2)), 0) << name << " " << size;
        }
    }
    EXPECT_TRUE(ThemedIcon(QStringLiteral("no-such-icon")).isNull());
}

// Where the packaged theme is installed, a start on a bare display uses it.
TEST_F(IconThemes, BareDisplayGetsThePackagedTheme) {
    // The offscreen platform does not look in the system's theme folder.
    QIcon::setThemeSearchPaths(paths_ + QStringList{QStringLiteral("/usr/share/icons")});
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    SetUpIconTheme();
    EXPECT_EQ(QIcon::fallbackThemeName(), kPackagedIconTheme);
    QIcon::setThemeName(QString::fromLatin1(kPackagedIconTheme));
    if (!QIcon::hasThemeIcon(QStringLiteral("document-open")))
        GTEST_SKIP() << "the packaged icon theme is not installed";
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    SetUpIconTheme();
    EXPECT_EQ(QIcon::themeName(), kPackagedIconTheme);
}

}  // namespace
}  // namespace corvan
