#pragma once
// The "Printing Options" tab: render resolution and image smoothing, crop
// marks and border with their mark file, size, offset and "Include in Size",
// and the job-text and tile-number switches. Every entry goes to the job
// through ChangeJobOption; ShowJob fills the tab from the job.
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;

namespace corvan {

class AppCore;
class CropMarkLibrary;
class CropMarkPreview;
class TemfFile;
class TmmNumEdit;

class PrintingTab : public QWidget {
    Q_OBJECT
public:
    PrintingTab(AppCore& app, QWidget* parent = nullptr);
    ~PrintingTab() override;

    // Fills the crop-mark combo from the library (one picture per item).
    void SetCropMarkLibrary(CropMarkLibrary* library);
    void ShowJob();
    // Shows the defaults (no job).
    void Clear();
    void ApplyUnits();
    // The Edit menu's "Toggle Cropmarks" and "Toggle Border".
    void ToggleCropMarks();
    void ToggleBorder();

private:
    QWidget* BuildQuality();
    QWidget* BuildCropMarks();
    QWidget* BuildText();
    // Fills every control from the job's values (defaults when there is none).
    void ShowValues(const TemfFile& job);
    void ShowRenderDpi(int dpi);
    void ShowSmoothing(int sliderValue);
    void ShowSmoothingControls(bool on);
    void CropEditsEntered();
    void CropMarkChosen(int index);
    // Draws the corner pictures in use around a sample copy.
    void ShowCornerPreview();

    AppCore& app_;
    CropMarkLibrary* library_ = nullptr;
    QComboBox* comboDPI_;
    QSlider* rxRenderDPI_;
    QLabel* labelDPI_;
    QCheckBox* cImageSmoothing_;
    QSlider* rxSmoothing_;
    QLabel* label_smoothlevel_;
    QLabel* smoothingCaption_;
    QCheckBox *cCropMarks_, *cBorder_, *ccropsizeauto_;
    QComboBox* combocropmark_;
    TmmNumEdit *mmcropSize_, *mmCropOffset_;
    CropMarkPreview* shapeBorder_;
    QCheckBox *cPrintJobText_, *cTileText_;
};

}  // namespace corvan
