#pragma once
// The start-up picture: borderless, on top, centred, with one status line
// and the "Debug Mode: Log File ON" label when the debug log is on.
#include <QWidget>

#include <string>
#include <vector>

class QLabel;

namespace corvan {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();

    // The status lines shown one after another while the program starts
    // (a display only; the work happens when the main window is created).
    static std::vector<std::string> StatusLines();
    void SetStatus(const QString& text);
    // Shows the lines with the given pause between them, keeping the
    // window responsive; a pause of 0 only paints each once.
    void Play(int firstPauseMs, int linePauseMs);

private:
    QLabel* status_;
    QLabel* debug_;
};

}  // namespace corvan
