#pragma once
// The "Spot Colors" tab: the job's spot rules, drawn in columns, and the
// editor that makes, changes, copies and deletes them.
#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;

namespace corvan {

class AppCore;
struct Lab;

class SpotTab : public QWidget {
    Q_OBJECT
public:
    SpotTab(AppCore& app, QWidget* parent = nullptr);

    void ShowJob();
    void Clear();
    // The job preview's pixels of the picker colour, again.
    void SpotPreview();
    // A target colour taken from a colour chart: its name and L*a*b*, as a
    // plain target (not a spot ink).
    void SetChartTarget(const std::string& name, const Lab& lab);
    // Controls whose commands come with later parts of the program.
    static QStringList PendingNames();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildPicker();
    QWidget* BuildTarget();
    QWidget* BuildList();
    void LoadEditor(const std::string& line);
    void SetPickerColour(unsigned colour);
    // The job's pixels the editor's colour and tolerance select.
    void PickFromPixels();
    void PickFromVectors();
    void ShowGamutCheck();
    void Apply(bool copy);
    void Delete();
    void Reset();
    void SpotNumberChosen(int index);
    void ShowList(int select);

    AppCore& app_;
    QCheckBox *cspot_, *onlyspot_;
    QPushButton* spotcolorpicker_;
    QLabel *pickerLabel_, *tolLabel_;
    QSlider* rxToll_;
    QSpinBox *PBNumEdit1_, *PBNumEdit2_, *PBNumEdit3_;
    QComboBox* combospotno_;
    QLineEdit* Edit1_;
    QHeaderView* Header1_;
    QListWidget* spotlistbox_;
    QLabel* imagespotpreview_ = nullptr;
    QLabel* gamut_ = nullptr;
    unsigned pickerColour_ = 0;
};

}  // namespace corvan
