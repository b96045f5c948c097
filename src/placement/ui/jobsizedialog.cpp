#include "placement/ui/jobsizedialog.h"

#include "job/units.h"
#include "placement/jobsize.h"
#include "placement/ui/mmnumedit.h"
#include "ui_jobsizedialog.h"

#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace corvan {

namespace {

// Paper presets show their name on the left and the size on the right.
class PresetDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QStringList parts = opt.text.split(QLatin1Char('\t'));
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, p, opt.widget);
        const QRect r = opt.rect.adjusted(4, 0, -4, 0);
        p->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                       : QPalette::Text));
        p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, parts.value(0));
        p->drawText(r, Qt::AlignRight | Qt::AlignVCenter, parts.value(1));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        return {std::max(s.width(), 240), s.height()};
    }
};

QIcon OrientationIcon(bool landscape) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QRect r = landscape ? QRect(2, 8, 28, 18) : QRect(8, 2, 18, 28);
    p.fillRect(r, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(r);
    return QIcon(pm);
}

}  // namespace

Tfsize::Tfsize(const JobSizeRequest& request, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::Tfsize>()), request_(request) {
    ui_->setupUi(this);
    for (const char* item : PaperPresets()) ui_->combosize->addItem(QString::fromUtf8(item));
    ui_->combosize->setItemDelegate(new PresetDelegate(ui_->combosize));
    for (const LengthUnit& u : JobSizeUnits()) ui_->combounits->addItem(QString::fromUtf8(u.name));
    ui_->paintbox->installEventFilter(this);
    ui_->buttons->button(QDialogButtonBox::Apply)->setDefault(true);
    ui_->buttons->button(QDialogButtonBox::Apply)->setAutoDefault(true);

    connect(ui_->buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui_->combosize, qOverload<int>(&QComboBox::activated), this, &Tfsize::PresetChosen);
    connect(ui_->combounits, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &Tfsize::ApplyUnit);
    connect(ui_->cwidth, &QDoubleSpinBox::editingFinished, this, [this] { SideEntered(true); });
    connect(ui_->cheight, &QDoubleSpinBox::editingFinished, this, [this] { SideEntered(false); });
    connect(ui_->dreset, &QPushButton::clicked, this, &Tfsize::ResetSize);
    for (QRadioButton* b : {ui_->Rport, ui_->Rls, ui_->RadioButton1, ui_->RadioButton2})
        connect(b, &QRadioButton::toggled, this, [this] { Redraw(); });

    {
        const QSignalBlocker block(ui_->combounits);
        ui_->combounits->setCurrentIndex(request.metric ? 0 : 1);
    }
    ApplyUnit();
    ResetSize();
    ui_->cwidth->setFocus();
}

// Destroying the dialog takes the focus from an edit, which reports a
// finished entry; the handlers must not see a half-destroyed dialog.
Tfsize::~Tfsize() {
    ui_->cwidth->blockSignals(true);
    ui_->cheight->blockSignals(true);
}

float Tfsize::Factor() const {
    return JobSizeUnits()[static_cast<std::size_t>(unit_)].millimetres;
}

void Tfsize::ApplyUnit() {
    unit_ = UnitIndex(ui_->combounits->currentText().toStdString());
    const LengthUnit& u = JobSizeUnits()[static_cast<std::size_t>(unit_)];
    for (QDoubleSpinBox* e : {ui_->cwidth, ui_->cheight}) {
        const QSignalBlocker block(e);
        e->setDecimals(u.decimals);
        e->setSuffix(QStringLiteral(" ") + QString::fromUtf8(u.suffix));
    }
    ShowSides();
    Redraw();
}

void Tfsize::ShowSides() {
    const QSignalBlocker bw(ui_->cwidth), bh(ui_->cheight);
    ui_->cwidth->setValue(wmm_ / Factor());
    ui_->cheight->setValue(hmm_ / Factor());
}

void Tfsize::MarkCustom() {
    ui_->combosize->setItemText(0, QStringLiteral("Custom Size"));
    ui_->combosize->setCurrentIndex(0);
}

void Tfsize::ResetSize() {
    const SizeMM s = SourceSizeMM(request_.width, request_.height, request_.pixelSource);
    wmm_ = s.width;
    hmm_ = s.height;
    ShowSides();
    MarkCustom();
    Redraw();
}

void Tfsize::PresetChosen(int index) {
    if (index <= 0) return;
    const auto size = ParsePaperPreset(ui_->combosize->itemText(index).toStdString());
    if (!size) return;
    wmm_ = size->width;
    hmm_ = size->height;
    ShowSides();
    ui_->RadioButton1->setChecked(true);
    Redraw();
}

void Tfsize::SideEntered(bool width) {
    QDoubleSpinBox* edit = width ? ui_->cwidth : ui_->cheight;
    float& held = width ? wmm_ : hmm_;
    // Leaving an edit unchanged keeps the exact size behind its rounded text.
    const QString shown = edit->textFromValue(held / Factor());
    if (edit->textFromValue(edit->value()) == shown) return;
    held = static_cast<float>(edit->value()) * Factor();
    if (ui_->checkprop->isChecked()) {
        if (width)
            hmm_ = ProportionalHeight(wmm_, request_.width, request_.height);
        else
            wmm_ = ProportionalWidth(hmm_, request_.width, request_.height);
    }
    ShowSides();
    MarkCustom();
    Redraw();
}

void Tfsize::SelectPreset(int index) {
    ui_->combosize->setCurrentIndex(index);
    PresetChosen(index);
}

void Tfsize::SelectUnit(const QString& name) {
    ui_->combounits->setCurrentText(name);
}

void Tfsize::Redraw() {
    JobSizeInput in;
    in.page = {wmm_, hmm_};
    in.landscape = ui_->Rls->isChecked();
    in.fit = ui_->RadioButton1->isChecked();
    in.sourceWidth = request_.width;
    in.sourceHeight = request_.height;
    in.pixelSource = request_.pixelSource;
    const JobSizeResult r = ComputeJobSize(in);
    result_ = {r.result.width, r.result.height};
    const LengthUnit& u = JobSizeUnits()[static_cast<std::size_t>(unit_)];
    ui_->label_resultwidth->setText(DisplayNumber(r.result.width / u.millimetres, 3) +
                                    QStringLiteral(" ") + QString::fromUtf8(u.name));
    ui_->label_resultheight->setText(DisplayNumber(r.result.height / u.millimetres, 3) +
                                     QStringLiteral(" ") + QString::fromUtf8(u.name));
    ui_->label_dpi->setText(QString::fromStdString(r.resolution));
    ui_->imageOrientation->setPixmap(OrientationIcon(in.landscape).pixmap(32, 32));
    ui_->paintbox->update();
}

bool Tfsize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->paintbox && event->type() == QEvent::Paint) {
        PaintPreview();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfsize::PaintPreview() {
    QPainter p(ui_->paintbox);
    const QRect box = ui_->paintbox->rect();
    p.fillRect(box, QColor(0xA0, 0xA0, 0xA0));
    float W = wmm_;
    float H = hmm_;
    if (ui_->Rls->isChecked()) std::swap(W, H);
    if (W <= 0 || H <= 0) return;
    const double cx = box.width() / 2 - 1, cy = box.height() / 2 - 1;
    // A small border keeps the page off the frame.
    const double k = std::min(2 * (cx - 8) / W, 2 * (cy - 8) / H);
    const QRectF page(cx - k * W / 2, cy - k * H / 2, k * W, k * H);
    p.fillRect(page.translated(2, 2), QColor(90, 90, 90));
    p.fillRect(page, QColor(0xF0, 0xF0, 0xF0));
    p.setPen(Qt::black);
    p.drawRect(page);
    const QRectF res(cx - k * result_.width / 2, cy - k * result_.height / 2, k * result_.width,
                     k * result_.height);
    p.fillRect(res, Qt::white);
    if (request_.picture) p.drawImage(res, request_.picture->View());
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.drawLine(res.topLeft(), res.bottomRight());
    p.drawLine(res.topRight(), res.bottomLeft());
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(res);
}

std::optional<JobSize> Tfsize::Result() const {
    if (result_.width < 1 || result_.height < 1) return std::nullopt;
    return result_;
}

std::optional<JobSize> JobSizeDialog(QWidget* parent, const JobSizeRequest& request) {
    Tfsize dlg(request, parent);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.Result();
}

}  // namespace corvan
