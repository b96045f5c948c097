#pragma once
// The start wizard: six pictures of the first things to do. Pointing at one
// highlights it and shows its description; a click chooses it, Escape
// closes with no choice.
#include <QDialog>
#include <QImage>

class QLabel;

namespace corvan {

class Tfhello : public QDialog {
    Q_OBJECT
public:
    explicit Tfhello(QWidget* parent = nullptr);

    // 1..6, or 0 when closed without a choice.
    int Choice() const { return choice_; }
    // The area under a point of the picture, or 0.
    int AreaAt(const QPoint& p) const;
    QRect AreaRect(int area) const;
    void Choose(int area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage Picture(bool highlighted) const;
    void Hover(int area);

    QLabel* picture_;
    QLabel* description_;
    QImage normal_, highlighted_;
    int hover_ = 0;
    int choice_ = 0;
};

// Shows the wizard modally and returns its choice.
int ShowStartWizard(QWidget* parent);

}  // namespace corvan
