// The changes the chart manager makes: colours added, updated, deleted and
// imported, and new charts. Each is written to the chart file at once.
#include "colour/colourchart.h"
#include "colour/ui/colourchartdialog.h"
#include "colour/ui/colourfields.h"
#include "platform/folders.h"
#include "platform/userinterface.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace corvan {

namespace {

std::string Trimmed(const QString& text) {
    return text.trimmed().toStdString();
}

}  // namespace

bool ColourChartDialog::ChartFileReady() {
    if (chartPath_.empty()) {
        ui_.ShowError("No Color Chart Selected");
        return false;
    }
    if (!FileExists(chartPath_)) {
        ui_.ShowError("Unable to open file!\r" + chartPath_);
        return false;
    }
    return true;
}

void ColourChartDialog::NewColour() {
    fields_->Clear();
    SetModified(false);
    SetLoading(true);
    editName_->clear();
    Edit1_->clear();
    SetLoading(false);
    ClearSelection();
    editName_->setFocus();
}

void ColourChartDialog::UpdateOrAdd() {
    fields_->ApplyPendingEdit();
    if (!ChartFileReady()) return;
    const std::string name = Trimmed(editName_->text());
    if (const Status ok = CheckColourName(name); !ok) {
        ui_.ShowError(ok.Error());
        return;
    }
    const Lab lab = fields_->Current();
    const int row = SelectedRow();
    if (row < 0) {
        if (!ui_.AskYesNo("Add New Color?\r\r" + name)) return;
        if (const Status s = WriteChartColour(chartPath_, name, lab); !s) {
            ui_.ShowError(s.Error());
            return;
        }
        QListWidgetItem* item = AddColourItem(name, fields_->Swatch());
        Reorder();
        ShowStatus();
        return ClickColour(item);
    }
    QListWidgetItem* item = ListBox1_->item(row);
    if (!ui_.AskYesNo("Update Current Color?\r\r" + name)) return;
    if (const Status s = ReplaceChartColour(chartPath_, item->text().toStdString(), name, lab);
        !s) {
        ui_.ShowError(s.Error());
        return;
    }
    item->setText(QString::fromStdString(name));
    SetSwatch(item, fields_->Swatch());
    Reorder();
    ClickColour(item);
}

void ColourChartDialog::DeleteColour() {
    const int row = SelectedRow();
    if (row < 0) return;
    const std::string name = ListBox1_->item(row)->text().toStdString();
    if (!ui_.AskYesNo("Delete this Color from current Color Chart?\r" + name)) return;
    if (const Status s = DeleteChartColour(chartPath_, name); !s) {
        ui_.ShowError(s.Error());
        return;
    }
    delete ListBox1_->takeItem(row);
    SetLoading(true);
    editName_->clear();
    Edit1_->clear();
    SetLoading(false);
    fields_->Clear();
    SetModified(false);
    ClearSelection();
    ShowStatus();
    if (ListBox1_->count() > 0) ClickColour(ListBox1_->item(std::min(row, ListBox1_->count() - 1)));
}

void ColourChartDialog::NewChart() {
    const auto typed = ui_.Input("Enter Chart Name", "Please enter a name for the new color chart.",
                                 std::string());
    if (!typed) return;
    const std::string name = Trimmed(QString::fromStdString(*typed));
    if (name.empty()) return;
    const std::string path = folder_ + ChartFileName(name);
    if (FileExists(path)) {
        const corvan::Button answer = ui_.Message(
            MessageKind::Warning,
            "Replace existing file?\rA file already exists with the name:\r" + path, YesNo);
        if (answer != ButtonYes) return;
    }
    if (const Status s = CreateColourChart(path, name); !s) {
        ui_.ShowError(s.Error());
        return;
    }
    ListCharts(path);
}

void ColourChartDialog::ImportColours() {
    if (!ui_.AskYesNo("Import Colors into Current Color Chart?\r\rNote: If you want these colors "
                      "in a new chart,\rCreate a new Color Chart, and then perform this "
                      "operation."))
        return;
    if (!ChartFileReady()) return;
    FileDialogRequest request;
    request.title = "Select File to Import";
    request.filter = "Text File (*.txt)|*.txt|Ini File (*.ini)|*.ini|All Files (*.*)|*.*";
    const auto file = ui_.ChooseFile(request);
    if (!file) return;
    const auto imported = ImportChartColoursFromFile(chartPath_, *file);
    if (!imported) {
        ui_.ShowError(imported.Error());
        return;
    }
    // The colours imported before a bad line are in the file: show them too.
    LoadChart();
    if (!imported->error.empty()) {
        ui_.ShowError(imported->error);
        return;
    }
    ui_.ShowPlain(std::to_string(imported->count) +
                  " colors where imported into current color chart.");
}

}  // namespace corvan
