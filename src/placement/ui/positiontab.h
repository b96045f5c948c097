#pragma once
// The "Position and Crop Tools" tab: offsets, gaps, copies, rotation and
// mirroring, the crop section and the layout figures. Its handlers hand each
// entry to the placement commands; ShowLayout fills it from the job.
#include <QWidget>

class QCheckBox;
class QLabel;
class QSpinBox;
#include <QStringList>

namespace corvan {

class AppCore;
class TmmNumEdit;

class PositionTab : public QWidget {
    Q_OBJECT
public:
    PositionTab(AppCore& app, QWidget* parent = nullptr);
    ~PositionTab() override;

    void ShowLayout();
    // Empties the tab (no job).
    void Clear();
    void ApplyUnits();
    // Buttons whose dialogs come with later parts of the program.
    static QStringList PendingNames();

private:
    QWidget* BuildPlacement();
    QWidget* BuildCrop();
    QWidget* BuildFigures();
    TmmNumEdit* LengthEdit(const char* name);
    void ColourCropEdits(bool on);
    void SetTooBig(bool tooBig);

    AppCore& app_;
    TmmNumEdit *mmxos_, *mmyos_, *mmxgap_, *mmygap_;
    TmmNumEdit *mmtopx_, *mmtopy_, *mmbotx_, *mmboty_;
    QSpinBox* spincopies_;
    QCheckBox *cRotate_, *cMirrorX_, *cmirrorY_, *check_cropselection_, *cToobig_;
    QLabel *label_docsize1_, *label_croppedsize_, *label_croppercent_, *label_tileno_,
        *label_jobsize_;
    QLabel *labelProjectSize_, *imagefit_;
};

}  // namespace corvan
