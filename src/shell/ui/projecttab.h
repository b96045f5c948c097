#pragma once
// The "Project Settings" tab: page size, media size with the roll-width
// presets, the background image and colour, and the job's layer list.
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
#include <QStringList>

namespace corvan {

class AppCore;
class LayerLists;
class TmmNumEdit;

class ProjectTab : public QWidget {
    Q_OBJECT
public:
    ProjectTab(AppCore& app, QWidget* parent = nullptr);
    ~ProjectTab() override;

    void ShowJob();
    void Clear();
    // Page and media figures (part of ShowLayout).
    void ShowLayout();
    void ShowBackgroundThumb();
    void ApplyUnits();
    bool Proportional() const;
    void SetProportional(bool on);
    // The roll widths and the custom paper sizes.
    void FillMediaPresets();
    // "Load Vector Layer" of the File menu.
    void LoadLayer();
    // Controls whose commands come with later parts of the program.
    static QStringList PendingNames();

private:
    QWidget* BuildSize();
    QWidget* BuildMedia();
    QWidget* BuildBackground();
    QWidget* BuildLayers();
    void PageSizeEntered(bool width);
    void MediaWidthEntered();
    void MediaPresetChosen(int index);
    void ColourChosen(unsigned colour);
    void SetPickerColour(unsigned colour);
    void FillImageHistory();
    void ShowMediaEdits();

    AppCore& app_;
    TmmNumEdit *mmDocWidth_, *mmDocHeight_, *mmMediaWidth_, *mmMediaHeight_;
    QCheckBox *cProportional_, *cBackgroundImage_, *cSolid_;
    QComboBox* ComboBox1_;
    QLabel *label_docsize_, *label_bgfilename_, *label_bgcolor_, *thumb_;
    QPushButton *dlabel_bgfilename_, *BG_color_picker_;
    LayerLists* layers_;
    QMenu* PopupImageHist_;
    unsigned pickerColour_ = 0xFFFFFF;
};

}  // namespace corvan
