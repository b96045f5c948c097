#pragma once
// The "Contour Cut" tab: contour cutting on or off, the cut colour and which
// of its strokes and fills are cut, the job's colours to choose from, the
// print and tile options, the picture of what will be cut, and the commands
// that trace a picture and write the cut file.
#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace corvan {

class AppCore;

class ContourTab : public QWidget {
    Q_OBJECT
public:
    ContourTab(AppCore& app, QWidget* parent = nullptr);

    // Fills the controls from the job (or clears them without one).
    void ShowCutSettings();
    // The cut picture, the controls and the view after a cut setting changed.
    void UpdateCutDisplay(bool repaint);
    void SetCutColour(unsigned colour);
    unsigned CutColour() const { return colour_; }

Q_SIGNALS:
    void autoTraceRequested();
    void cutFileRequested();

private:
    void CutSwitchClicked(bool fromMainSwitch);
    void OptionClicked(bool refresh);
    void BuildCutPreview();
    void ShowColour();

    AppCore& app_;
    unsigned colour_ = 0xC0C0C0;
    QCheckBox* canCut_;
    QPushButton* picker_;
    QLabel* colourName_;
    QCheckBox* lines_;
    QCheckBox* fills_;
    QListWidget* colours_;
    QCheckBox* printContours_;
    QCheckBox* tileBox_;
    QCheckBox* deviceMarks_;
    QLabel* preview_;
};

}  // namespace corvan
