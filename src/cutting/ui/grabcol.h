#pragma once
// "Select Pixel Color": the rendered job page, the colour under the pointer
// picked by clicking or dragging, and which pixels lie within the tolerance.
#include "job/emffile.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;
class QToolButton;

namespace corvan {

class UserInterface;

class Tfgrabcol : public QDialog {
    Q_OBJECT
public:
    Tfgrabcol(const TemfFile* job, UserInterface& ui, Colour colour, int tolerance,
              QWidget* parent = nullptr);
    Colour SelectedColour() const { return swatch_; }
    Colour PickedColour() const { return colour_; }
    int Tolerance() const;
    QSize PictureSize() const { return picture_.size(); }

    void ZoomToAll();
    void ZoomIn();
    void ZoomOut();
    // A press, move or release of the pointer over the picture at p.
    void PointerAt(QPoint p, bool pressed);
    void SetColour(Colour colour);
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class PictureBox;
    void Render(QSize size);
    void ShowTolerance();
    void RedrawSmall();

    const TemfFile* job_;
    UserInterface& ui_;
    Colour colour_, swatch_;
    bool picking_ = false;
    bool shownOnce_ = false;
    QImage picture_;
    QScrollArea* scroll_;
    QWidget* box_;
    QSlider* tolerance_;
    QLabel* toleranceText_;
    QPushButton* picker_;
    QLabel* result_;
    QLabel* small_;
    QCheckBox* excludeWhite_;
    QCheckBox* previewSelected_;
    QToolButton* previewTwin_;
    QToolButton* pick_;
    QLabel* statusSwatch_;
    QLabel* statusRgb_;
};

}  // namespace corvan
