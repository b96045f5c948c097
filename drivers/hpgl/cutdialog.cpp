#include "hpgl/cutdialog.h"

#include "common/formdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

#include <functional>
#include <vector>

namespace drv {

namespace {

void AddInt(QFormLayout* form, const char* name, const char* label, int& value, int lo, int hi, Appliers& apply) {
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(lo, hi);
    box->setValue(value);
    form->addRow(label, box);
    apply.push_back([box, &value] { value = box->value(); });
}

void AddLength(QFormLayout* form, const char* name, const char* label, double& value, double hi, int decimals,
               Appliers& apply) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(0, hi);
    box->setDecimals(decimals);
    box->setSuffix(" mm");
    box->setValue(value);
    form->addRow(label, box);
    apply.push_back([box, &value] { value = box->value(); });
}

void AddCheck(QFormLayout* form, const char* name, const char* label, bool& value, Appliers& apply) {
    auto* box = new QCheckBox(label);
    box->setObjectName(name);
    box->setChecked(value);
    form->addRow(box);
    apply.push_back([box, &value] { value = box->isChecked(); });
}

void AddText(QFormLayout* form, const char* name, const char* label, std::string& value, const char* hint,
             Appliers& apply) {
    auto* edit = new QLineEdit(QString::fromStdString(value));
    edit->setObjectName(name);
    edit->setPlaceholderText(hint);
    form->addRow(label, edit);
    apply.push_back([edit, &value] { value = edit->text().toStdString(); });
}

void AddCutter(QFormLayout* form, CutterSettings& s, Appliers& apply) {
    AddInt(form, "Tool", "Tool:", s.Cut.Tool, 1, 8, apply);
    AddInt(form, "Speed", "Speed (cm/s):", s.Cut.Speed, 1, 100, apply);
    AddInt(form, "Force", "Force (0 = cutter's own):", s.Cut.Force, 0, 1000, apply);
    AddCheck(form, "Rotate", "Job length along the feed", s.Cut.Rotate, apply);
    AddLength(form, "MediaWidth", "Media width:", s.Device.MediaWidth, 100000, 1, apply);
    AddText(form, "OutputFile", "Output file:", s.Device.OutputFile, "empty: send to the device below", apply);
    AddText(form, "Device", "Cutter device:", s.DevicePath, "/dev/usb/lp0", apply);
}

void AddCutOptions(QFormLayout* form, CutOptions& o, Appliers& apply) {
    AddLength(form, "BladeOffset", "Blade offset (0 = off):", o.BladeOffset, 5, 2, apply);
    AddLength(form, "Overcut", "Overcut of closed paths (0 = off):", o.Overcut, 20, 1, apply);
    AddCheck(form, "CutOrder", "Cut inner contours first, short travel", o.Optimise, apply);
    AddLength(form, "WeedBorder", "Weeding border (0 = none):", o.WeedBorder, 100, 1, apply);
}

}  // namespace

bool ChooseCutterSettings(int dialog, std::uint64_t window, CutterSettings& settings) {
    if (dialog != 1 || window == 0 || !qobject_cast<QApplication*>(QCoreApplication::instance())) return true;
    CutterSettings edit = settings;
    Appliers apply;
    QDialog box(QWidget::find(static_cast<WId>(window)));
    box.setObjectName("HpglDriverDialog");
    box.setWindowTitle("HP-GL Cutter: Cutter Options");
    auto* form = new QFormLayout(&box);
    AddCutter(form, edit, apply);
    AddCutOptions(form, edit.Cut.Options, apply);
    if (!RunForm(box, form, apply)) return false;
    settings = edit;
    return true;
}

}  // namespace drv
