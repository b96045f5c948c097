#pragma once
// The "Gamut Mapping" tab: the preset method, and the screen preview the
// driver renders of the job through its profile with that method.
#include "rip/ui/ripnowcommand.h"

#include <QWidget>

class QComboBox;
class QLabel;

namespace corvan {

class AppCore;

class GamutTab : public QWidget, public GamutView {
    Q_OBJECT
public:
    GamutTab(AppCore& app, QWidget* parent = nullptr);

    void ShowJob();  // the job's method in the list
    void Clear();    // no method, no picture
    void ClearPreview();
    // "Redraw": the driver's picture of the job preview with the method.
    void RedrawGamut() override;
    void ShowGamutMethod() override { ShowJob(); }
    // "Advanced": the driver's own colour dialog.
    void Advanced();

Q_SIGNALS:
    // The picture is made from the job layout view's preview.
    void layoutViewWanted();

private:
    AppCore& app_;
    QComboBox* method_;
    QLabel* picture_;
};

}  // namespace corvan
