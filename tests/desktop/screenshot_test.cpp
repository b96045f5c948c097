#include "support/tempdirs.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace corvan {
namespace {

// Runs the program's screenshot form and returns its exit status.
int Shoot(const test::ScratchHome& home, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVANRIP_HOME", QString::fromStdString(home.Home()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.Config()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CORVAN_BIN_DIR "/corvanrip"), args);
    if (!p.waitForFinished(60000)) return -1;
    // A crash says how, with what the program wrote, so a failure can be read.
    if (p.exitStatus() == QProcess::CrashExit) {
        ADD_FAILURE() << "corvanrip " << args.join(' ').toStdString() << " crashed (signal "
                      << p.exitCode() << "): " << p.readAllStandardError().toStdString();
        return -2;
    }
    return p.exitCode();
}

TEST(Screenshot, MainWindowWithAPictureJobAndEachDialog) {
    test::ScratchHome home;
    const QString picture = QString::fromStdString(home.Path("art.png"));
    QImage art(300, 200, QImage::Format_RGB32);
    art.fill(Qt::darkCyan);
    ASSERT_TRUE(art.save(picture));

    const QString out = QString::fromStdString(home.Path("main.png"));
    ASSERT_EQ(Shoot(home, {"--screenshot", out, picture}), 0);
    EXPECT_EQ(QImage(out).size(), QSize(1280, 800));

    for (const char* dialog : {"jobsize", "jobsize-image", "paths", "wizard", "about", "splash", "preflight"}) {
        SCOPED_TRACE(dialog);
        const QString file = QString::fromStdString(home.Path(std::string(dialog) + ".png"));
        ASSERT_EQ(Shoot(home, {"--screenshot", file, "--dialog", dialog}), 0);
        EXPECT_FALSE(QImage(file).isNull());
    }
    EXPECT_EQ(Shoot(home, {"--screenshot", out, "--dialog", "nosuch"}), 2);
    EXPECT_EQ(Shoot(home, {"--bogus"}), 2);
}

}  // namespace
}  // namespace corvan
