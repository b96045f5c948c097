// One copy per desktop: the hand-over block, its argument rule, and the
// local socket between two copies, with a second copy that is the real
// program, a socket left by a crashed copy, and malformed blocks refused.
#include "shell/ui/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace corvan {
namespace {

QString UniqueName(const char* what) {
    return QStringLiteral("corvanrip-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(what);
}

TEST(HandOver, BlockLayoutAndTheArgumentRule) {
    const QByteArray block = MakeHandOver("/usr/bin/corvanrip", {"/jobs/shop window.RIP"});
    ASSERT_EQ(block.size(), kHandOverSize);
    EXPECT_EQ(block.left(4), QByteArray(4, '\0'));
    const auto line = ReadHandOver(block);
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "\"/usr/bin/corvanrip\" /jobs/shop window.RIP");
    EXPECT_EQ(HandOverArgument(*line), "/jobs/shop window.RIP");
    EXPECT_EQ(HandOverArgument(*ReadHandOver(MakeHandOver("/usr/bin/corvanrip", {}))), "");

    const struct {
        const char* line;
        const char* argument;
    } cases[] = {
        {"\"C:\\rip.exe\" a.RIP", "a.RIP"},
        {"\"C:\\rip.exe\" \"a b.RIP\"", "\"a b.RIP\""},  // passed on unchanged
        {"rip.exe a.RIP", "ip.exe a.RIP"},               // no quote and blank
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(HandOverArgument(c.line), c.argument) << c.line;

    const auto longLine = ReadHandOver(MakeHandOver("/p", {QString(2000, 'x')}));
    ASSERT_TRUE(longLine);
    EXPECT_EQ(longLine->size(), std::size_t(kHandOverTextMax));
}

TEST(HandOver, MalformedBlocksAreRefused) {
    EXPECT_FALSE(ReadHandOver(QByteArray(10, 'x')));
    EXPECT_FALSE(ReadHandOver(QByteArray(kHandOverSize + 1, '\0')));
    QByteArray unterminated(kHandOverSize, 'x');
    EXPECT_FALSE(ReadHandOver(unterminated));
}

TEST(SingleInstance, TheProgramStartedAgainHandsItsFileToTheFirstCopy) {
    const QString name = UniqueName("handover");
    SingleInstance first(name);
    ASSERT_FALSE(first.HandOverOrListen({}));
    ASSERT_TRUE(first.Listening());
    QSignalSpy received(&first, &SingleInstance::ArgumentReceived);

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVANRIP_INSTANCE", name);
    env.insert("CORVANRIP_HOME", QDir::tempPath() + "/corvanrip-second-never-made");
    second.setProcessEnvironment(env);
    const QString job = QDir::tempPath() + "/no such job.RIP";
    second.start(QStringLiteral(CORVAN_BIN_DIR "/corvanrip"), {job});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(QDir(QDir::tempPath() + "/corvanrip-second-never-made").exists())
        << "a second copy must not set up a program folder or a log";
    ASSERT_TRUE(received.wait(5000) || received.count() == 1);
    EXPECT_EQ(received.at(0).at(0).toString(), job);

    // A second SingleInstance of the same name finds the first and hands over.
    SingleInstance again(name);
    EXPECT_TRUE(again.HandOverOrListen(MakeHandOver("/p", {"/x.RIP"})));
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(1).at(0).toString(), "/x.RIP");
}

TEST(SingleInstance, MalformedHandOversLoadNothing) {
    const QString name = UniqueName("malformed");
    SingleInstance first(name);
    ASSERT_FALSE(first.HandOverOrListen({}));
    QSignalSpy received(&first, &SingleInstance::ArgumentReceived);
    for (const QByteArray& bad : {QByteArray(10, 'x'), QByteArray(kHandOverSize, 'x')}) {
        QLocalSocket s;
        s.connectToServer(name);
        ASSERT_TRUE(s.waitForConnected(2000));
        s.write(bad);
        s.waitForBytesWritten(2000);
        s.disconnectFromServer();
    }
    QTest::qWait(300);
    EXPECT_EQ(received.count(), 0);
}

TEST(SingleInstance, ASocketLeftByACrashedCopyIsTakenOver) {
    const QString name = UniqueName("stale");
    const QString path = QDir::tempPath() + "/" + name;
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance first(name);
    EXPECT_FALSE(first.HandOverOrListen({}));
    EXPECT_TRUE(first.Listening());
}

}  // namespace
}  // namespace corvan
