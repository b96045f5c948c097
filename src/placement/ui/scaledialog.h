#pragma once
// "Scale Job Size": a new page size in millimetres or in percent of the
// current one, with the sides kept in proportion when asked.
#include <QDialog>

#include <optional>

class QCheckBox;
class QDoubleSpinBox;

namespace corvan {

class JobSession;
class TmmNumEdit;

struct ScaledSize {
    float width = 0, height = 0;
};

class Tfscale : public QDialog {
    Q_OBJECT
public:
    Tfscale(float width, float height, bool proportional, bool metric, QWidget* parent = nullptr);
    ScaledSize Result() const { return {width_, height_}; }

private:
    void SideEntered(bool width);
    void PercentEntered(bool width);
    void Show();

    float w0_, h0_, width_, height_;
    TmmNumEdit* mmwidth_ = nullptr;
    TmmNumEdit* mmheight_ = nullptr;
    QDoubleSpinBox* swidth_ = nullptr;
    QDoubleSpinBox* sheight_ = nullptr;
    QCheckBox* proportional_ = nullptr;
};

// "Scale %": the dialog for the current job; an accepted size becomes the
// page, the crop section the whole page.
void ScaleJobCommand(JobSession& app, bool proportional, QWidget* parent);

}  // namespace corvan
