#include "shell/ui/spottab.h"

#include "colour/gamutcheck.h"
#include "colour/spotlist.h"
#include "colour/ui/colourchartdialog.h"
#include "cutting/colourpick.h"
#include "cutting/ui/getline.h"
#include "cutting/ui/grabcol.h"
#include "platform/numbers.h"
#include "platform/ui/widgetnames.h"
#include "plugins/currentplugin.h"
#include "shell/appcore.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace corvan {

namespace {

// One rule drawn in the columns of the heading above the list.
class SpotLineDelegate : public QStyledItemDelegate {
public:
    SpotLineDelegate(QHeaderView* header, QObject* parent)
        : QStyledItemDelegate(parent), header_(header) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool enabled = option.state & QStyle::State_Enabled;
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        const SpotLine s =
            ParseSpotLine(index.data().toString().toStdString()).value_or(SpotLine{});
        const QRect r = option.rect;
        const QRect swatch(QPoint(r.left() + 3, r.top() + 2), QPoint(r.left() + 23, r.top() + 11));
        p->fillRect(swatch, enabled ? QColor(s.red, s.green, s.blue) : QColor(192, 192, 192));
        p->setPen(
            !enabled ? QColor(128, 128, 128)
                     : option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const auto text = [&](int x, const QString& t) {
            p->drawText(QRect(x, r.top(), r.right() - x, r.height()), Qt::AlignLeft | Qt::AlignTop,
                        t);
        };
        text(swatch.right() + 5, QString::asprintf("%d,%d,%d", s.red, s.green, s.blue));
        int x = r.left() + 3 + header_->sectionSize(0);
        text(x, QString::number(s.tolerance));
        x += header_->sectionSize(1);
        // Target colour rules get a hollow mark, spot inks a filled one.
        const QRect mark(x, r.top() + 2, 10, 10);
        if (s.spot == 0)
            p->drawRect(mark);
        else
            p->fillRect(mark, p->pen().color());
        text(x + 30, QString::fromStdString(s.name));
        text(x + header_->sectionSize(2), QString::asprintf("%d,%d,%d", s.L, s.a, s.b));
        text(x + header_->sectionSize(2) + header_->sectionSize(3), QString::number(s.spot));
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(0, 15));
    }

private:
    QHeaderView* header_;
};

}  // namespace

SpotTab::SpotTab(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("tab_spotcolors"));
    auto* v = new QVBoxLayout(this);
    cspot_ = Named(new QCheckBox(QStringLiteral("Spot Colors"), this), "cspot");
    v->addWidget(cspot_);
    v->addWidget(BuildPicker());
    v->addWidget(BuildTarget());
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const char* caption) {
        auto* b = Named(new QPushButton(QString::fromUtf8(caption), this), name);
        buttons->addWidget(b);
        return b;
    };
    connect(button("daddspot", "Apply"), &QPushButton::clicked, this, [this] { Apply(false); });
    connect(button("dclone", "Copy +"), &QPushButton::clicked, this, [this] {
        spotlistbox_->setCurrentRow(-1);
        Apply(true);
    });
    connect(button("dremovespot", "Delete"), &QPushButton::clicked, this, &SpotTab::Delete);
    connect(button("dnewspot", "Reset"), &QPushButton::clicked, this, &SpotTab::Reset);
    connect(button("dcolorcharts", "Color Charts"), &QPushButton::clicked, this, [this] {
        if (const auto chosen = ChooseChartColour(app_.Ui(), this))
            SetChartTarget(chosen->name, chosen->lab);
    });
    v->addLayout(buttons);
    auto* lower = new QHBoxLayout;
    lower->addWidget(BuildList(), 1);
    auto* previewBox = new QVBoxLayout;
    previewBox->addWidget(new QLabel(QStringLiteral("Selected Preview"), this));
    imagespotpreview_ = Named(new QLabel(this), "imagespotpreview");
    imagespotpreview_->setFixedSize(170, 130);
    imagespotpreview_->setAlignment(Qt::AlignCenter);
    imagespotpreview_->setFrameShape(QFrame::StyledPanel);
    previewBox->addWidget(imagespotpreview_);
    previewBox->addStretch();
    lower->addLayout(previewBox);
    v->addLayout(lower, 1);
    onlyspot_ =
        Named(new QCheckBox(QStringLiteral("Only Print Extra Spot Colors"), this), "onlyspot");
    v->addWidget(onlyspot_);
    connect(cspot_, &QCheckBox::toggled, this, [this](bool on) {
        if (!app_.CurrentJob || app_.Updating) return;
        app_.CurrentJob->SpotColors = on;
        app_.Events().StateChanged();
    });
    connect(onlyspot_, &QCheckBox::toggled, this,
            [this](bool on) { app_.Output.OnlyExtraSpots = on; });
    LoadEditor(kEmptySpotLine);
}

QStringList SpotTab::PendingNames() {
    return {};
}

QWidget* SpotTab::BuildPicker() {
    auto* box = new QGroupBox(QStringLiteral("1. Select Existing Color (to be replaced):"), this);
    auto* form = new QFormLayout(box);
    auto* row = new QHBoxLayout;
    spotcolorpicker_ = Named(new QPushButton(box), "spotcolorpicker");
    spotcolorpicker_->setFixedSize(60, 22);
    pickerLabel_ = new QLabel(box);
    row->addWidget(spotcolorpicker_);
    row->addWidget(pickerLabel_, 1);
    auto* source =
        Named(new QPushButton(QStringLiteral("Select Source Color"), box), "SpeedButton29");
    source->setToolTip(QStringLiteral("Pick the colour from the rendered job"));
    auto* vectors =
        Named(new QPushButton(QStringLiteral("Select Color from Vectors"), box), "SpeedButton52");
    vectors->setToolTip(QStringLiteral("Pick one of the colours the job's layers use"));
    row->addWidget(source);
    row->addWidget(vectors);
    form->addRow(row);
    connect(source, &QPushButton::clicked, this, &SpotTab::PickFromPixels);
    connect(vectors, &QPushButton::clicked, this, &SpotTab::PickFromVectors);
    connect(spotcolorpicker_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(pickerColour_), this);
        if (c.isValid())
            SetPickerColour(static_cast<unsigned>(c.red()) | static_cast<unsigned>(c.green()) << 8 |
                            static_cast<unsigned>(c.blue()) << 16);
    });
    auto* tol = new QHBoxLayout;
    rxToll_ = Named(new QSlider(Qt::Horizontal, box), "rxToll");
    rxToll_->setRange(0, 128);
    tolLabel_ = new QLabel(QStringLiteral("0"), box);
    tolLabel_->setMinimumWidth(30);
    tol->addWidget(rxToll_, 1);
    tol->addWidget(tolLabel_);
    form->addRow(QStringLiteral("Tolerance:"), tol);
    connect(rxToll_, &QSlider::valueChanged, tolLabel_, [this](int value) {
        tolLabel_->setText(QString::number(value));
        // A drag redraws once, when it ends; keys and clicks at once.
        if (!rxToll_->isSliderDown() && app_.CurrentJob && !app_.Updating) SpotPreview();
    });
    connect(rxToll_, &QSlider::sliderReleased, this, [this] {
        if (app_.CurrentJob && !app_.Updating) SpotPreview();
    });
    return box;
}

QWidget* SpotTab::BuildTarget() {
    auto* box = new QGroupBox(QStringLiteral("2. Replace with Targeted or Spot Color:"), this);
    auto* form = new QFormLayout(box);
    auto* lab = new QHBoxLayout;
    const auto number = [&](const char* name, int lo, int hi) {
        auto* s = Named(new QSpinBox(box), name);
        s->setRange(lo, hi);
        lab->addWidget(s);
        return s;
    };
    PBNumEdit1_ = number("PBNumEdit1", 0, 100);
    PBNumEdit2_ = number("PBNumEdit2", -128, 127);
    PBNumEdit3_ = number("PBNumEdit3", -128, 127);
    form->addRow(QStringLiteral("L*a*b*:"), lab);
    gamut_ = Named(new QLabel(box), "labelgamut");
    gamut_->setWordWrap(true);
    form->addRow(QString(), gamut_);
    for (QSpinBox* edit : {PBNumEdit1_, PBNumEdit2_, PBNumEdit3_})
        connect(edit, qOverload<int>(&QSpinBox::valueChanged), this, &SpotTab::ShowGamutCheck);
    combospotno_ = Named(new QComboBox(box), "combospotno");
    for (int n = 0; n <= 19; ++n) combospotno_->addItem(QString::fromStdString(SpotListText(n)));
    form->addRow(QStringLiteral("Spot#"), combospotno_);
    connect(combospotno_, &QComboBox::activated, this, &SpotTab::SpotNumberChosen);
    connect(combospotno_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SpotTab::ShowGamutCheck);
    Edit1_ = Named(new QLineEdit(box), "Edit1");
    form->addRow(QStringLiteral("Name:"), Edit1_);
    return box;
}

QWidget* SpotTab::BuildList() {
    auto* holder = new QWidget(this);
    auto* v = new QVBoxLayout(holder);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    Header1_ = Named(new QHeaderView(Qt::Horizontal, holder), "Header1");
    auto* headings = new QStandardItemModel(0, 5, Header1_);
    headings->setHorizontalHeaderLabels({QStringLiteral("RGB Value"), QStringLiteral("Tol."),
                                         QStringLiteral("Target Color"),
                                         QStringLiteral("L*a*b* Value"), QStringLiteral("Spot #")});
    Header1_->setModel(headings);
    for (int i = 0; const int w : {75, 32, 143, 68, 40}) Header1_->resizeSection(i++, w);
    Header1_->setStretchLastSection(false);
    Header1_->setFixedHeight(Header1_->fontMetrics().height() + 8);
    spotlistbox_ = Named(new QListWidget(holder), "spotlistbox");
    spotlistbox_->setItemDelegate(new SpotLineDelegate(Header1_, spotlistbox_));
    spotlistbox_->installEventFilter(this);
    connect(Header1_, &QHeaderView::sectionResized, spotlistbox_->viewport(),
            [this] { spotlistbox_->viewport()->update(); });
    connect(spotlistbox_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        LoadEditor(item->text().toStdString());
        SpotPreview();
    });
    v->addWidget(Header1_);
    v->addWidget(spotlistbox_, 1);
    return holder;
}

bool SpotTab::eventFilter(QObject* watched, QEvent* event) {
    // The headings belong to the list: hidden with it when spot colours are off.
    if (watched == spotlistbox_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        Header1_->setVisible(spotlistbox_->isVisibleTo(this));
    if (watched == spotlistbox_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backspace) {
        Delete();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SpotTab::SetPickerColour(unsigned colour) {
    pickerColour_ = colour;
    const QColor c = ToQColor(colour);
    spotcolorpicker_->setStyleSheet(QStringLiteral("background-color: %1").arg(c.name()));
    spotcolorpicker_->setToolTip(
        QString::asprintf("RGB Value: %d,%d,%d", c.red(), c.green(), c.blue()));
    pickerLabel_->setText(QString::asprintf("( %d,%d,%d )", c.red(), c.green(), c.blue()));
    if (app_.CurrentJob && !app_.Updating) SpotPreview();
}

void SpotTab::LoadEditor(const std::string& line) {
    const SpotEditorValues v = LoadSpotEditor(line);
    const bool was = app_.Updating;
    app_.Updating = true;
    SetPickerColour(v.colour);
    rxToll_->setValue(v.tolerance);
    PBNumEdit1_->setValue(v.L);
    PBNumEdit2_->setValue(v.a);
    PBNumEdit3_->setValue(v.b);
    combospotno_->setCurrentIndex(v.spot);
    Edit1_->setText(QString::fromStdString(v.name));
    app_.Updating = was;
}

void SpotTab::SpotNumberChosen(int index) {
    if (index > 0) {
        if (const auto t = SpotDefaultTarget(index)) {
            PBNumEdit1_->setValue(t->L);
            PBNumEdit2_->setValue(t->a);
            PBNumEdit3_->setValue(t->b);
        }
        Edit1_->setText(combospotno_->itemText(index));
    } else if (index == 0) {
        Edit1_->clear();
    }
}

void SpotTab::SetChartTarget(const std::string& name, const Lab& lab) {
    PBNumEdit1_->setValue(static_cast<int>(RoundHalfEven(lab.L)));
    PBNumEdit2_->setValue(static_cast<int>(RoundHalfEven(lab.a)));
    PBNumEdit3_->setValue(static_cast<int>(RoundHalfEven(lab.b)));
    combospotno_->setCurrentIndex(0);
    Edit1_->setText(QString::fromStdString(name));
}

void SpotTab::Apply(bool copy) {
    if (!app_.CurrentJob) return;
    SpotEditorValues v;
    v.colour = pickerColour_;
    v.tolerance = rxToll_->value();
    v.L = PBNumEdit1_->value();
    v.a = PBNumEdit2_->value();
    v.b = PBNumEdit3_->value();
    v.spot = combospotno_->currentIndex();
    v.name = Edit1_->text().toStdString();
    auto& list = app_.CurrentJob->SpotColorList;
    const auto r = ApplySpotRule(list, spotlistbox_->currentRow(), copy, v,
                                 [this] { return app_.Ui().AskYesNo("Update this color?"); });
    if (r.outcome == SpotApplyOutcome::Declined) return;
    if (r.outcome == SpotApplyOutcome::NoColourInformation) {
        app_.Ui().Message(MessageKind::Warning, "No Color Information to update", ButtonOk);
        return;
    }
    ShowList(r.index);
    app_.MarkModified();
    Reset();
}

void SpotTab::Delete() {
    if (!app_.CurrentJob) return;
    if (!DeleteSpotRule(app_.CurrentJob->SpotColorList, spotlistbox_->currentRow())) return;
    ShowList(-1);
    app_.MarkModified();
    Reset();
}

void SpotTab::Reset() {
    spotlistbox_->setCurrentRow(-1);
    spotlistbox_->clearSelection();
    LoadEditor(kEmptySpotLine);
    SpotPreview();
}

void SpotTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The job preview may have been made since the job was shown.
    SpotPreview();
}

void SpotTab::SpotPreview() {
    imagespotpreview_->clear();
    imagespotpreview_->setToolTip(QString());
    if (!app_.CurrentJob || !app_.PreviewImage) return;
    const auto image =
        SelectedColourPreview(app_.PreviewImage.get(), imagespotpreview_->width(),
                              imagespotpreview_->height(), pickerColour_, rxToll_->value());
    if (!image) return;
    imagespotpreview_->setPixmap(QPixmap::fromImage(image->View().copy()));
    imagespotpreview_->setToolTip(
        QStringLiteral("The job's pixels within the tolerance are black"));
}

// How close the printer's profile comes to the target: a rule whose target
// the printer cannot reach prints as the nearest colour it has.
void SpotTab::ShowGamutCheck() {
    gamut_->clear();
    gamut_->setStyleSheet(QString());
    if (combospotno_->currentIndex() > 0) return;  // an extra ink prints itself
    TPluginObject& plugin = CurrentPlugin();
    const std::string profile = plugin.Valid ? plugin.Get_Plugin_Datatype(kProfileDatatype) : std::string();
    if (profile.empty()) {
        gamut_->setText(QStringLiteral("No printer profile to check the target against."));
        return;
    }
    std::string error;
    const Lab target{double(PBNumEdit1_->value()), double(PBNumEdit2_->value()),
                           double(PBNumEdit3_->value())};
    const auto check = CheckTargetAgainstProfile(profile, target, error);
    if (!check) {
        gamut_->setText(QString::fromStdString(error));
        return;
    }
    const Lab& r = check->reachable;
    gamut_->setText(
        check->inGamut
            ? QStringLiteral("ΔE 2000: %1, the printer reaches this target.")
                  .arg(check->deltaE, 0, 'f', 1)
            : QStringLiteral(
                  "ΔE 2000: %1, outside the printer's gamut: prints as L*a*b* %2, %3, %4.")
                  .arg(check->deltaE, 0, 'f', 1)
                  .arg(r.L, 0, 'f', 0)
                  .arg(r.a, 0, 'f', 0)
                  .arg(r.b, 0, 'f', 0));
    if (!check->inGamut) gamut_->setStyleSheet(QStringLiteral("color: #b00000"));
}

// The pickers set the colour (and tolerance) as a loaded rule would, then
// show the pixels they select.
void SpotTab::PickFromPixels() {
    Tfgrabcol dialog(app_.CurrentJob.get(), app_.Ui(), pickerColour_, rxToll_->value(), window());
    if (dialog.exec() != QDialog::Accepted) return;
    const bool was = app_.Updating;
    app_.Updating = true;
    rxToll_->setValue(std::min(dialog.Tolerance(), rxToll_->maximum()));
    SetPickerColour(dialog.SelectedColour());
    app_.Updating = was;
    SpotPreview();
}

void SpotTab::PickFromVectors() {
    Tfgetline dialog(app_.CurrentJob.get(), app_.Ui(), pickerColour_, window());
    if (dialog.exec() != QDialog::Accepted) return;
    const bool was = app_.Updating;
    app_.Updating = true;
    SetPickerColour(dialog.SelectedColour());
    app_.Updating = was;
    SpotPreview();
}

void SpotTab::ShowList(int select) {
    spotlistbox_->clear();
    if (app_.CurrentJob)
        for (const std::string& line : app_.CurrentJob->SpotColorList)
            spotlistbox_->addItem(QString::fromStdString(line));
    spotlistbox_->setCurrentRow(select);
}

void SpotTab::ShowJob() {
    cspot_->setChecked(app_.CurrentJob && app_.CurrentJob->SpotColors);
    onlyspot_->setChecked(app_.Output.OnlyExtraSpots);
    ShowList(-1);
    SpotPreview();
    ShowGamutCheck();
}

void SpotTab::Clear() {
    cspot_->setChecked(false);
    spotlistbox_->clear();
    LoadEditor(kEmptySpotLine);
    SpotPreview();
}

}  // namespace corvan
