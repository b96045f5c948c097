#pragma once
// "Select Vector Color": the stroke and fill colours of the job's vector
// layers, with the shapes that use the chosen one shown beside the list.
#include "job/emffile.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace corvan {

class UserInterface;

class Tfgetline : public QDialog {
    Q_OBJECT
public:
    Tfgetline(const TemfFile* job, UserInterface& ui, Colour colour, QWidget* parent = nullptr);
    Colour SelectedColour() const { return colour_; }
    void SetColour(Colour colour);
    // Rebuilds the status line and the colour list for the mode buttons.
    void ModeChanged(bool redraw);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Redraw();

    const TemfFile* job_;
    Colour colour_;
    QToolButton* lines_;
    QToolButton* fills_;
    QLabel* status_;
    QListWidget* list_;
    QPushButton* picker_;
    QLabel* name_;
    QCheckBox* black_;
    QLabel* preview_;
};

// Draws a colour line ("$00BBGGRR") as a swatch and the colour's name.
class ColourLineDelegate;
void UseColourLineDelegate(QListWidget* list);
// The colour of such a line; false when it is not one.
bool ParseColourLine(const QString& line, Colour& colour);

}  // namespace corvan
