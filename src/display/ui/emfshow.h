#pragma once
// TFemfShow, "Layer Preview": one layer file of a list drawn on a background
// colour of the operator's choice, fitted to the window and drawn again
// whenever the window, the layer or the colour changes.
#include "platform/bitmap.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QStatusBar;

namespace corvan {

class ColourPickerButton;

class TFemfShow : public QDialog {
    Q_OBJECT
public:
    // `files` are the choices; `index` the one shown first.
    TFemfShow(const QStringList& files, int index, QWidget* parent = nullptr);
    ~TFemfShow() override;

    // The choice shown last.
    int ShownIndex() const;
    Colour Background() const { return background_; }
    void SetBackground(Colour colour);
    // Draws the chosen layer into the frame; an empty picture when it cannot.
    void RenderLayerPreview();
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayerChosen(int index);
    void ScheduleRender();

    QString fileName_;
    Colour background_ = 0xFFFFFF;
    QFrame* Shape1_;
    ColourPickerButton* ColorPickerButton1_;
    QComboBox* ComboBox1_;
    QLabel* Image1_;
    QStatusBar* status_;
    QWidget* PaintBox1_;
    bool rendered_ = false;
    bool renderPending_ = false;
};

// Shows the preview modally; returns the index of the layer shown last.
int ShowLayerPreview(QWidget* parent, const QStringList& files, int index);

}  // namespace corvan
