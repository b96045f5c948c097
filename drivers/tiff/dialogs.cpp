#include "tiff/dialogs.h"

#include "common/formdialog.h"
#include "common/outputs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

#include <functional>
#include <vector>

namespace drv {

namespace {

const char* const kMethods[] = {"Profile Default", "1. Accurate", "2. Saturation",
                                "3. Photo",        "4. Pleasant", "5. Logo"};

QSpinBox* AddInt(QFormLayout* form, const char* name, const char* label, long& value, int lo,
                 int hi, Appliers& apply) {
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(lo, hi);
    box->setValue(static_cast<int>(value));
    form->addRow(label, box);
    apply.push_back([box, &value] { value = box->value(); });
    return box;
}

void AddReal(QFormLayout* form, const char* name, const char* label, double& value,
             Appliers& apply) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(0, 100000);
    box->setDecimals(1);
    box->setSuffix(" mm");
    box->setValue(value);
    form->addRow(label, box);
    apply.push_back([box, &value] { value = box->value(); });
}

void AddMedia(QFormLayout* form, TiffSettings& s, Appliers& apply) {
    AddReal(form, "MediaWidth", "Media width:", s.Device.MediaWidth, apply);
    AddReal(form, "MediaLength", "Media length (0 = roll):", s.Device.MediaLength, apply);
}

void AddPrinterOptions(QFormLayout* form, TiffSettings& s, Appliers& apply) {
    AddInt(form, "DpiX", "Resolution across (dpi):", s.Device.DpiX, 1, 9600, apply);
    AddInt(form, "DpiY", "Resolution along (dpi):", s.Device.DpiY, 1, 9600, apply);
    AddMedia(form, s, apply);
    auto* file = new QLineEdit(QString::fromStdString(s.Device.OutputFile));
    file->setObjectName("OutputFile");
    file->setPlaceholderText("empty: print to the queue below");
    form->addRow("Output file:", file);
    apply.push_back([file, &s] { s.Device.OutputFile = file->text().toStdString(); });
    auto* queue = new QComboBox;
    queue->setObjectName("Queue");
    for (const auto& name : CupsQueueNames()) queue->addItem(QString::fromStdString(name));
    queue->setCurrentIndex(static_cast<int>(s.Device.Queue));
    form->addRow("Print queue:", queue);
    apply.push_back([queue, &s] {
        if (queue->currentIndex() >= 0) s.Device.Queue = queue->currentIndex();
    });
    AddInt(form, "Passes", "Colour passes:", s.Passes, 1, 8, apply);
    auto* pages = new QCheckBox("Spot inks on pages of their own");
    pages->setObjectName("InkPages");
    pages->setChecked(s.InkPages);
    form->addRow(pages);
    apply.push_back([pages, &s] { s.InkPages = pages->isChecked(); });
}

QStringList ProfilesBeside(const std::string& profile) {
    const QString folder = profile.empty()
                               ? QString::fromStdString(DriverFolder() + "../Profiles")
                               : QFileInfo(QString::fromStdString(profile)).absolutePath();
    QStringList paths;
    for (const QFileInfo& f :
         QDir(folder).entryInfoList({"*.icc", "*.icm", "*.ICC", "*.ICM"}, QDir::Files))
        paths << f.absoluteFilePath();
    return paths;
}

void AddColour(QFormLayout* form, TiffSettings& s, Appliers& apply) {
    auto* method = new QComboBox;
    method->setObjectName("Method");
    for (const char* m : kMethods) method->addItem(m);
    method->setCurrentIndex(s.Method >= 0 && s.Method <= 5 ? static_cast<int>(s.Method) : 0);
    form->addRow("Gamut mapping:", method);
    apply.push_back([method, &s] { s.Method = method->currentIndex(); });
}

void AddProfiles(QFormLayout* form, TiffSettings& s, Appliers& apply) {
    auto* list = new QListWidget;
    list->setObjectName("Profiles");
    const QString current = QFileInfo(QString::fromStdString(s.Device.Profile)).absoluteFilePath();
    for (const QString& p : ProfilesBeside(s.Device.Profile)) {
        list->addItem(QFileInfo(p).fileName());
        list->item(list->count() - 1)->setData(Qt::UserRole, p);
        if (p == current) list->setCurrentRow(list->count() - 1);
    }
    form->addRow("Media profile:", list);
    apply.push_back([list, &s] {
        if (const QListWidgetItem* item = list->currentItem())
            s.Device.Profile = item->data(Qt::UserRole).toString().toStdString();
    });
}

const char* Title(int dialog) {
    switch (dialog) {
        case 1:
            return "TIFF Raster Printer: Printer Options";
        case 11:
            return "TIFF Raster Printer: Colour";
        case 22:
            return "TIFF Raster Printer: Sheet Size";
        default:
            return "TIFF Raster Printer: Profiles";
    }
}

}  // namespace

bool ChooseSettings(int dialog, std::uint64_t window, TiffSettings& settings) {
    if (window == 0 || !qobject_cast<QApplication*>(QCoreApplication::instance())) return true;
    if (dialog != 1 && dialog != 11 && dialog != 22 && dialog != 24) return false;
    TiffSettings edit = settings;
    Appliers apply;
    QDialog box(QWidget::find(static_cast<WId>(window)));
    box.setObjectName("TiffDriverDialog");
    box.setWindowTitle(Title(dialog));
    auto* form = new QFormLayout(&box);
    if (dialog == 1) AddPrinterOptions(form, edit, apply);
    if (dialog == 22) AddMedia(form, edit, apply);
    if (dialog == 11) AddColour(form, edit, apply);
    if (dialog == 24) AddProfiles(form, edit, apply);
    if (!RunForm(box, form, apply)) return false;
    settings = edit;
    return true;
}

}  // namespace drv
