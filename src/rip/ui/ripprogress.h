#pragma once
// The small window that stays up while a RIP runs (the main window is
// hidden): the pass and row progress and a Cancel button.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace corvan {

class RipProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit RipProgressWindow(QWidget* parent = nullptr);
    void Show(int stage, int percent, const QString& text);
    bool Cancelled() const { return cancelled_; }

private:
    QLabel* text_;
    QProgressBar* bar_;
    bool cancelled_ = false;
};

}  // namespace corvan
