#include "colour/ui/colourchartdialog.h"

#include "colour/colourchart.h"
#include "colour/ui/colourfields.h"
#include "platform/ui/widgetnames.h"
#include "platform/userinterface.h"
#include "shell/ui/helpmanual.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace corvan {

namespace {

// The picture in front of every chart name: a small fan of colour strips.
QIcon ChartIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QColor strips[] = {QColor(220, 40, 40), QColor(250, 200, 30), QColor(40, 160, 70),
                             QColor(40, 90, 200)};
    for (int i = 0; i < 4; ++i) {
        p.fillRect(1 + i * 3, 1 + i, 5, 14 - i * 2, strips[i]);
        p.setPen(QColor(64, 64, 64));
        p.drawRect(1 + i * 3, 1 + i, 4, 13 - i * 2);
    }
    return QIcon(pm);
}

}  // namespace

ColourChartDialog::ColourChartDialog(UserInterface& ui, std::string folder, QWidget* parent)
    : QDialog(parent), ui_(ui), folder_(std::move(folder)) {
    setObjectName(QStringLiteral("ColorChartForm"));
    setWindowTitle(QStringLiteral("Color Charts"));
    setModal(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(BuildChartRow());
    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildListPanel(), 1);
    middle->addWidget(BuildEditPanel(), 0);
    v->addLayout(middle, 1);
    v->addWidget(BuildButtonRow());
    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    statusCount_ = Named(new QLabel(status), "statuscount");
    statusCount_->setMinimumWidth(90);
    statusPath_ = Named(new QLabel(status), "statuspath");
    status->addWidget(statusCount_);
    status->addWidget(statusPath_, 1);
    v->addWidget(status);
    v->setContentsMargins(8, 8, 8, 0);
    resize(860, 560);
    ListCharts();
}

QPushButton* ColourChartDialog::Button(const char* name, const char* caption, QWidget* parent) {
    auto* b = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
    // Enter belongs to the fields (it confirms a typed colour), never to a button.
    b->setAutoDefault(false);
    return b;
}

QWidget* ColourChartDialog::BuildChartRow() {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("Available Color Charts"), row);
    combocharts_ = Named(new QComboBox(row), "combocharts");
    combocharts_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combocharts_->setMinimumContentsLength(28);
    label->setBuddy(combocharts_);
    h->addWidget(label);
    h->addWidget(combocharts_, 1);
    auto* newChart = Button("dnewchart", "New Color Chart", row);
    h->addWidget(newChart);
    connect(combocharts_, &QComboBox::currentIndexChanged, this, [this] { SelectChart(); });
    connect(newChart, &QPushButton::clicked, this, &ColourChartDialog::NewChart);
    return row;
}

QWidget* ColourChartDialog::BuildListPanel() {
    auto* panel = new QWidget(this);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    ListBox1_ = Named(new QListWidget(panel), "ListBox1");
    ListBox1_->setMinimumWidth(260);
    UseSwatchDelegate(ListBox1_);
    v->addWidget(ListBox1_, 1);
    auto* search = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Search:"), panel);
    Edit1_ = Named(new QLineEdit(panel), "Edit1");
    Edit1_->setPlaceholderText(QStringLiteral("Name, then Up or Down"));
    Edit1_->installEventFilter(this);
    label->setBuddy(Edit1_);
    search->addWidget(label);
    search->addWidget(Edit1_, 1);
    dsort_ = Button("dsort", "Sort Colors A to Z", panel);
    dsort_->setCheckable(true);
    search->addWidget(dsort_);
    v->addLayout(search);
    connect(ListBox1_, &QListWidget::itemClicked, this, &ColourChartDialog::ClickColour);
    connect(Edit1_, &QLineEdit::textEdited, this, [this] {
        if (!loading_) ClearSelection();
    });
    connect(dsort_, &QPushButton::toggled, this, &ColourChartDialog::SortToggled);
    return panel;
}

QWidget* ColourChartDialog::BuildEditPanel() {
    auto* panel = new QWidget(this);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    auto* nameRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Name:"), panel);
    editName_ = Named(new QLineEdit(panel), "editName");
    label->setBuddy(editName_);
    nameRow->addWidget(label);
    nameRow->addWidget(editName_, 1);
    v->addLayout(nameRow);
    fields_ = new ColourFields(panel);
    v->addWidget(fields_);
    auto* buttons = new QGridLayout;
    auto* dnew = Button("dnew", "New", panel);
    dupdate_ = Button("dupdate", "Add", panel);
    dupdate_->setEnabled(false);
    auto* ddelete = Button("ddelete", "Delete Color", panel);
    auto* dimport = Button("dimport", "Import Colors from Text File", panel);
    buttons->addWidget(dnew, 0, 0);
    buttons->addWidget(dupdate_, 0, 1);
    buttons->addWidget(ddelete, 0, 2);
    buttons->addWidget(dimport, 1, 0, 1, 3);
    v->addLayout(buttons);
    v->addStretch(1);
    connect(editName_, &QLineEdit::textEdited, this, [this] {
        if (!loading_) SetModified(true);
    });
    connect(fields_, &ColourFields::Edited, this, [this] {
        if (!loading_) SetModified(true);
    });
    connect(dnew, &QPushButton::clicked, this, &ColourChartDialog::NewColour);
    connect(dupdate_, &QPushButton::clicked, this, &ColourChartDialog::UpdateOrAdd);
    connect(ddelete, &QPushButton::clicked, this, &ColourChartDialog::DeleteColour);
    connect(dimport, &QPushButton::clicked, this, &ColourChartDialog::ImportColours);
    return panel;
}

QWidget* ColourChartDialog::BuildButtonRow() {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 4, 0, 0);
    auto* help = Button("dhelp", "Help", row);
    auto* apply = Button("dapply", "Apply", row);
    auto* cancel = Button("dcancel", "Cancel", row);
    h->addWidget(help);
    h->addStretch(1);
    h->addWidget(apply);
    h->addWidget(cancel);
    connect(help, &QPushButton::clicked, this, [this] { OpenManualChapter(ui_, "Colour charts"); });
    connect(apply, &QPushButton::clicked, this, [this] {
        fields_->ApplyPendingEdit();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return row;
}

void ColourChartDialog::ListCharts(const std::string& select) {
    chartPath_.clear();
    {
        const QSignalBlocker block(combocharts_);
        combocharts_->clear();
        const QIcon icon = ChartIcon();
        for (const ChartListing& chart : ListColourCharts(folder_)) {
            const QString path = QString::fromStdString(chart.path);
            combocharts_->addItem(icon, QString::fromStdString(chart.name), path);
            combocharts_->setItemData(combocharts_->count() - 1, path, Qt::ToolTipRole);
        }
        const int wanted = combocharts_->findData(QString::fromStdString(select));
        combocharts_->setCurrentIndex(wanted >= 0 ? wanted : (combocharts_->count() ? 0 : -1));
    }
    SelectChart();
}

void ColourChartDialog::SelectChart() {
    SetLoading(true);
    fields_->Clear();
    ListBox1_->clear();
    nextOrder_ = 0;
    Edit1_->clear();
    editName_->clear();
    SetLoading(false);
    SetModified(false);
    ClearSelection();
    chartPath_ = combocharts_->currentData().toString().toStdString();
    setWindowTitle(chartPath_.empty() ? QStringLiteral("Color Charts")
                                      : QString::fromStdString(chartPath_));
    if (!chartPath_.empty()) LoadChart();
    ShowStatus();
}

void ColourChartDialog::LoadChart() {
    ListBox1_->clear();
    nextOrder_ = 0;
    const auto colours = LoadColourChart(chartPath_);
    if (!colours) ui_.ShowError(colours.Error());
    if (colours)
        for (const ChartColour& c : *colours) AddColourItem(c.name, ColourValue(LabToRgb(c.lab)));
    Reorder();
    ClearSelection();
    ShowStatus();
}

void ColourChartDialog::ShowStatus() {
    statusCount_->setText(QString::number(ListBox1_->count()) + QStringLiteral(" Items."));
    statusPath_->setText(QString::fromStdString(chartPath_));
}

void ColourChartDialog::SetModified(bool on) {
    modified_ = on;
    dupdate_->setEnabled(on);
}

std::string ColourChartDialog::ChosenName() const {
    return editName_->text().toStdString();
}

Lab ColourChartDialog::ChosenLab() const {
    return fields_->Current();
}

std::optional<ChartChoice> ChooseChartColour(UserInterface& ui, QWidget* parent) {
    ColourChartDialog dialog(ui, ColourChartFolder(), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ChartChoice{dialog.ChosenName(), dialog.ChosenLab()};
}

bool ColourChartDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            SearchStep(key == Qt::Key_Up);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace corvan
