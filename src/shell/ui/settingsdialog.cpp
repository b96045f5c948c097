#include "shell/ui/settingsdialog.h"

#include "placement/ui/mmnumedit.h"
#include "platform/preferences.h"
#include "platform/ui/widgetnames.h"
#include "plugins/drivercommands.h"
#include "shell/appcore.h"
#include "shell/ui/helpmanual.h"
#include "shell/ui/pathseditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace corvan {

namespace {

// Switches with the value a fresh program shows.
struct BoolPref {
    int page;
    const char* name;
    const char* caption;
    bool def;
};
constexpr BoolPref kBools[] = {
    {0, "use_metric", "Metric Units", false},
    {0, "use_cropmarks", "Use Cropmarks", false},
    {0, "Load_printersettings", "Load Printer Settings with Job", true},
    {0, "save_printersettings", "Save Printer Settings in Job", true},
    {1, "interpolate_DIB", "Smooth EMF Images", false},
    {2, "RIP_Smooth", "Smooth Background Image", true},
};

struct LengthPref {
    const char* name;
    const char* caption;
    float def;
};
constexpr LengthPref kLengths[] = {
    {"def_jobwidth", "Job Width:", 300},
    {"def_jobHeight", "Job Height:", 300},
    {"def_xgap", "X Gap:", 10},
    {"def_ygap", "Y Gap:", 10},
};

constexpr int kDefaultPreview = 600;
constexpr int kDefaultSmoothLevel = 0;
constexpr int kDefaultRipDpi = 150;

}  // namespace

Tfproperties::Tfproperties(AppCore& app, int page, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName(QStringLiteral("fproperties"));
    setWindowTitle(QStringLiteral("Settings"));
    setMinimumSize(640, 400);
    auto* top = new QHBoxLayout;
    pages_ = new QStackedWidget(this);
    pages_->addWidget(BuildGeneral());
    pages_->addWidget(BuildAdvanced());
    pages_->addWidget(BuildRip());
    top->addWidget(BuildSideBar());
    top->addWidget(pages_, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QDialogButtonBox::Cancel);
    auto* restore = buttons->addButton(QStringLiteral("Restore"), QDialogButtonBox::ResetRole);
    auto* help = buttons->addButton(QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &Tfproperties::Confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(restore, &QPushButton::clicked, this, &Tfproperties::Restore);
    connect(help, &QPushButton::clicked, this,
            [this] { OpenManualChapter(app_.Ui(), "Settings"); });

    auto* v = new QVBoxLayout(this);
    v->addLayout(top, 1);
    v->addWidget(buttons);
    Restore();
    SetPage(page);
}

Tfproperties::~Tfproperties() {
    for (auto& [name, edit] : lengths_) edit->blockSignals(true);
}

QCheckBox* Tfproperties::Box(const char* name, const char* caption) {
    auto* box = Named(new QCheckBox(QString::fromUtf8(caption), this), name);
    boxes_[name] = box;
    return box;
}

QWidget* Tfproperties::BuildGeneral() {
    auto* page = new QWidget(this);
    auto* v = new QVBoxLayout(page);
    auto* size = new QGroupBox(page);
    auto* form = new QFormLayout(size);
    // Clicking the caption stores everything at once, as a quick save.
    defaultJobSize_ = Named(new QLabel(QStringLiteral("Default Job Size:"), page), "label_defsize");
    defaultJobSize_->installEventFilter(this);
    form->addRow(defaultJobSize_);
    for (const LengthPref& l : kLengths) {
        auto* edit = Named(new TmmNumEdit(page), l.name);
        lengths_[l.name] = edit;
        form->addRow(QString::fromUtf8(l.caption), edit);
    }
    v->addWidget(size);
    for (const BoolPref& b : kBools)
        if (b.page == 0) v->addWidget(Box(b.name, b.caption));
    v->addStretch();
    return page;
}

QWidget* Tfproperties::BuildAdvanced() {
    auto* page = new QWidget(this);
    auto* v = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Preview Size:"), page));
    maxPreview_ = Named(new QSpinBox(page), "max_preview");
    maxPreview_->setRange(1, 2500);
    row->addWidget(maxPreview_);
    for (const auto& [caption, value] :
         {std::pair{"Lo-Res", 500}, {"Normal", 800}, {"Hi-Res", 1200}}) {
        auto* b = new QPushButton(QString::fromUtf8(caption), page);
        connect(b, &QPushButton::clicked, this,
                [this, value = value] { maxPreview_->setValue(value); });
        row->addWidget(b);
    }
    row->addStretch();
    v->addLayout(row);
    labelMaxPreview_ = Named(new QLabel(page), "label_maxpreview");
    v->addWidget(labelMaxPreview_);
    connect(maxPreview_, qOverload<int>(&QSpinBox::valueChanged), this,
            &Tfproperties::ShowPreviewSize);
    for (const BoolPref& b : kBools)
        if (b.page == 1) v->addWidget(Box(b.name, b.caption));
    v->addStretch();
    return page;
}

QWidget* Tfproperties::BuildRip() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    QCheckBox* smooth = nullptr;
    for (const BoolPref& b : kBools)
        if (b.page == 2) smooth = Box(b.name, b.caption);
    form->addRow(smooth);
    smoothLevel_ = Named(new QSlider(Qt::Horizontal, page), "RIP_smoothLevel");
    smoothLevel_->setRange(0, 40);
    labelLevel_ = Named(new QLabel(page), "label_level");
    auto* level = new QHBoxLayout;
    level->addWidget(smoothLevel_, 1);
    level->addWidget(labelLevel_);
    form->addRow(QStringLiteral("Smoothing Level:"), level);
    connect(smoothLevel_, &QSlider::valueChanged, labelLevel_,
            [this](int value) { labelLevel_->setNum(value); });
    connect(smooth, &QCheckBox::toggled, smoothLevel_, &QWidget::setEnabled);
    ripDpi_ = Named(new QSpinBox(page), "RIP_DPI");
    ripDpi_->setRange(0, 360);
    auto* list = Named(new QComboBox(page), "combo_dpi");
    for (const char* dpi : {"96 dpi", "100 dpi", "200 dpi", "300 dpi", "360 dpi"})
        list->addItem(QString::fromUtf8(dpi));
    list->setCurrentIndex(-1);
    connect(list, &QComboBox::textActivated, ripDpi_,
            [this](const QString& text) { ripDpi_->setValue(text.section(' ', 0, 0).toInt()); });
    auto* dpi = new QHBoxLayout;
    dpi->addWidget(ripDpi_);
    dpi->addWidget(list);
    dpi->addStretch();
    form->addRow(QStringLiteral("Render DPI:"), dpi);
    return page;
}

QWidget* Tfproperties::BuildSideBar() {
    sideBar_ = Named(new QListWidget(this), "sidebar");
    sideBar_->setFixedWidth(170);
    sideBar_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sideBar_->setSpacing(2);
    const auto header = [this](const char* text) {
        auto* item = new QListWidgetItem(QString::fromUtf8(text), sideBar_);
        item->setFlags(Qt::NoItemFlags);
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    };
    header("Settings");
    for (const char* page : {"General", "Advanced", "RIP Settings"})
        sideBar_->addItem(QString::fromUtf8(page));
    header("Tools");
    for (const char* tool : {"System Paths", "Profile Manager"})
        sideBar_->addItem(QString::fromUtf8(tool));
    connect(sideBar_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { SideBarClicked(sideBar_->row(item)); });
    return sideBar_;
}

void Tfproperties::SideBarClicked(int row) {
    if (row >= 1 && row <= 3) return SetPage(row - 1);
    if (row == 5) ShowPathEditor(app_.Ui(), this);
    if (row == 6) ProfileManager(app_.CurrentPlotter, app_.Ui());
    SetPage(Page());  // the side bar shows the page again, not the tool
}

int Tfproperties::Page() const {
    return pages_->currentIndex();
}

void Tfproperties::SetPage(int page) {
    pages_->setCurrentIndex(std::clamp(page, 0, pages_->count() - 1));
    sideBar_->setCurrentRow(Page() + 1);
}

void Tfproperties::ShowPreviewSize(int value) {
    labelMaxPreview_->setText(
        QString::asprintf("%d pixels (%.2f Mb)", value, double(value) * value * 3 / 1048576.0));
}

void Tfproperties::Restore() {
    for (const BoolPref& b : kBools) boxes_.at(b.name)->setChecked(ReadPrefBool(b.name, b.def));
    for (const LengthPref& l : kLengths) {
        TmmNumEdit* edit = lengths_.at(l.name);
        edit->setValue(static_cast<float>(ReadPrefNumber(l.name, l.def)));
        edit->applyUnits(app_.UseMetric);
    }
    maxPreview_->setValue(static_cast<int>(ReadPrefNumber("max_preview", kDefaultPreview)));
    ShowPreviewSize(maxPreview_->value());
    smoothLevel_->setValue(
        static_cast<int>(ReadPrefNumber("RIP_smoothLevel", kDefaultSmoothLevel)));
    labelLevel_->setNum(smoothLevel_->value());
    smoothLevel_->setEnabled(boxes_.at("RIP_Smooth")->isChecked());
    ripDpi_->setValue(static_cast<int>(ReadPrefNumber("RIP_DPI", kDefaultRipDpi)));
}

bool Tfproperties::Store() {
    bool ok = true;
    for (const auto& [name, box] : boxes_) ok = WritePrefBool(name, box->isChecked()) && ok;
    for (const auto& [name, edit] : lengths_) ok = WritePrefNumber(name, edit->value()) && ok;
    ok = WritePrefNumber("max_preview", maxPreview_->value()) && ok;
    ok = WritePrefNumber("RIP_smoothLevel", smoothLevel_->value()) && ok;
    ok = WritePrefNumber("RIP_DPI", ripDpi_->value()) && ok;
    if (!ok) app_.Ui().ShowError("Unable to save the settings in " + PreferencesFile());
    return ok;
}

void Tfproperties::Confirm() {
    if (!app_.Ui().AskYesNo("Update Settings?")) return;
    if (Store()) accept();
}

bool Tfproperties::eventFilter(QObject* watched, QEvent* event) {
    if (watched == defaultJobSize_ && event->type() == QEvent::MouseButtonRelease) {
        Store();
        QApplication::beep();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool ShowSettings(AppCore& app, int page, QWidget* parent) {
    Tfproperties dlg(app, page, parent);
    return dlg.exec() == QDialog::Accepted;
}

}  // namespace corvan
