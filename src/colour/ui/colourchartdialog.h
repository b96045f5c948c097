#pragma once
// The colour chart manager: browse the charts in the chart folder, search
// and sort their colours, add, change, delete and import colours, and hand
// one colour back to the caller with "Apply". Every change goes to the chart
// file at once; questions and messages go through the UserInterface port.
#include "colour/colourspace.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace corvan {

class ColourFields;
class UserInterface;

class ColourChartDialog : public QDialog {
    Q_OBJECT
public:
    ColourChartDialog(UserInterface& ui, std::string folder, QWidget* parent = nullptr);

    // What "Apply" hands back: the name field and the colour in L*a*b*.
    std::string ChosenName() const;
    Lab ChosenLab() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (colourchartdialog.cpp).
    QWidget* BuildChartRow();
    QWidget* BuildListPanel();
    QWidget* BuildEditPanel();
    QWidget* BuildButtonRow();
    QPushButton* Button(const char* name, const char* caption, QWidget* parent);
    void ListCharts(const std::string& select = {});
    void SelectChart();
    void LoadChart();
    void ShowStatus();
    void SetModified(bool on);
    void SetLoading(bool on) { loading_ = on; }

    // The colour list (colourchartlist.cpp).
    static void UseSwatchDelegate(QListWidget* list);
    static void SetSwatch(QListWidgetItem* item, std::uint32_t swatch);
    int SelectedRow() const;
    QListWidgetItem* AddColourItem(const std::string& name, std::uint32_t swatch);
    void ClickColour(QListWidgetItem* item);
    void SearchStep(bool up);
    void SortToggled();
    void Reorder();
    void ClearSelection();

    // Changes (colourchartactions.cpp).
    void NewColour();
    void UpdateOrAdd();
    void DeleteColour();
    void NewChart();
    void ImportColours();
    bool ChartFileReady();

    UserInterface& ui_;
    std::string folder_;
    std::string chartPath_;
    QComboBox* combocharts_;
    QListWidget* ListBox1_;
    QLineEdit *editName_, *Edit1_;
    ColourFields* fields_;
    QPushButton *dupdate_, *dsort_;
    QLabel *statusCount_, *statusPath_;
    int nextOrder_ = 0;
    bool modified_ = false;
    bool loading_ = false;
};

struct ChartChoice {
    std::string name;
    Lab lab;
};
// Opens the manager on the chart folder; the chosen colour when it closes
// with "Apply", nothing with "Cancel".
std::optional<ChartChoice> ChooseChartColour(UserInterface& ui, QWidget* parent);

}  // namespace corvan
