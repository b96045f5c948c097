#include "shell/ui/splash.h"

#include "platform/debuglog.h"
#include "shell/ui/appicon.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>

namespace corvan {

namespace {

void Pause(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    } while (t.elapsed() < ms);
}

}  // namespace

SplashWindow::SplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(640, 389);
    auto* picture = new QLabel(this);
    picture->setPixmap(SplashPicture());
    picture->setGeometry(rect());
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("labelstatus"));
    status_->setGeometry(40, 330, 560, 20);
    status_->setStyleSheet(QStringLiteral("color: #d0dce8"));
    debug_ = new QLabel(QStringLiteral("Debug Mode: Log File ON"), this);
    debug_->setObjectName(QStringLiteral("labeldebug"));
    debug_->setGeometry(40, 355, 560, 20);
    debug_->setStyleSheet(QStringLiteral("color: #ffb040"));
    debug_->setVisible(LogEnabled());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

std::vector<std::string> SplashWindow::StatusLines() {
    const struct {
        const char* text;
        int times;
    } groups[] = {{"Loading Settings", 3},
                  {"Loading System Data", 8},
                  {"Setting System Paths", 3},
                  {"Loading Cropmarks", 3},
                  {"Loading Drivers", 3},
                  {"Loading Color Profiles", 3},
                  {"Loading Color Charts Sizes", 3},
                  {"Setting Spot Colors", 3},
                  {"Initializing ICC", 3},
                  {"Calibrating", 3},
                  {"Almost Done", 4},
                  {"Loading CorvanRIP SE", 3}};
    std::vector<std::string> lines;
    for (const auto& g : groups) {
        if (!lines.empty()) lines.emplace_back();
        const bool stars = std::string(g.text) == "Loading System Data";
        for (int i = 1; i <= g.times; ++i)
            lines.push_back(stars ? std::string(g.text) + " " +
                                        std::string(static_cast<std::size_t>(i), '*')
                                  : std::string(g.text));
    }
    return lines;
}

void SplashWindow::SetStatus(const QString& text) {
    status_->setText(text);
    status_->repaint();
}

void SplashWindow::Play(int firstPauseMs, int linePauseMs) {
    Pause(firstPauseMs);
    for (const std::string& line : StatusLines()) {
        SetStatus(QString::fromStdString(line));
        Pause(linePauseMs);
    }
}

}  // namespace corvan
