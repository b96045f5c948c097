#include "cutting/ui/getline.h"

#include "colour/spotlist.h"
#include "cutting/colourpick.h"
#include "platform/ui/widgetnames.h"
#include "shell/ui/helppopup.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvan {

class ColourLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        Colour c = 0;
        const QRect r = option.rect;
        if (ParseColourLine(index.data().toString(), c)) {
            p->fillRect(
                QRect(QPoint(r.left() + 3, r.top() + 2), QPoint(r.left() + 23, r.top() + 11)),
                ToQColor(c));
            p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            p->drawText(QRect(r.left() + 33, r.top(), r.width() - 33, r.height()),
                        Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(ColorDisplayName(c)));
        }
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(0, 15));
    }
};

void UseColourLineDelegate(QListWidget* list) {
    list->setItemDelegate(new ColourLineDelegate(list));
}

bool ParseColourLine(const QString& line, Colour& colour) {
    if (!line.startsWith(QLatin1Char('$'))) return false;
    bool ok = false;
    const qulonglong v = line.mid(1).toULongLong(&ok, 16);
    if (!ok) return false;
    colour = static_cast<Colour>(v & 0xFFFFFFFFu);
    return true;
}

Tfgetline::Tfgetline(const TemfFile* job, UserInterface& ui, Colour colour, QWidget* parent)
    : QDialog(parent), job_(job), colour_(colour) {
    setObjectName(QStringLiteral("Tfgetline"));
    setWindowTitle(QStringLiteral("Select Vector Color"));
    auto* grid = new QGridLayout(this);
    auto* modes = new QHBoxLayout;
    lines_ = Named(new QToolButton(this), "dline");
    lines_->setText(QStringLiteral("Select Lines"));
    fills_ = Named(new QToolButton(this), "dfill");
    fills_->setText(QStringLiteral("Select Fills"));
    for (QToolButton* b : {lines_, fills_}) {
        b->setCheckable(true);
        modes->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this] { ModeChanged(true); });
    }
    fills_->setChecked(true);
    modes->addStretch();
    grid->addLayout(modes, 0, 0, 1, 2);
    status_ = Named(new QLabel(this), "StatusText");
    grid->addWidget(status_, 1, 0, 1, 2);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Available Contours:"), this));
    list_ = Named(new QListWidget(this), "ListBox1");
    UseColourLineDelegate(list_);
    list_->setMinimumWidth(220);
    left->addWidget(list_, 1);
    auto* pick = new QHBoxLayout;
    picker_ = Named(new QPushButton(this), "ColorPickerButton1");
    picker_->setFixedSize(60, 22);
    name_ = Named(new QLabel(this), "Label1");
    pick->addWidget(picker_);
    pick->addWidget(name_, 1);
    left->addLayout(pick);
    black_ = Named(new QCheckBox(QStringLiteral("Black"), this), "cblack");
    left->addWidget(black_);
    left->addWidget(MoreInfoButton(this, ui, "dinfo", "Select Vector"));
    grid->addLayout(left, 2, 0);
    preview_ = Named(new QLabel(this), "PaintBox1");
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFixedSize(380, 300);
    grid->addWidget(preview_, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 3, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Colour c = 0;
        if (ParseColourLine(item->text(), c)) SetColour(c);
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(picker_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(colour_), this);
        if (c.isValid()) SetColour(MakeColour(c.red(), c.green(), c.blue()));
    });
    connect(black_, &QCheckBox::clicked, this, &Tfgetline::Redraw);
    SetColour(colour);
}

void Tfgetline::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ModeChanged(false);
    Redraw();
}

void Tfgetline::ModeChanged(bool redraw) {
    const bool lines = lines_->isChecked(), fills = fills_->isChecked();
    status_->setText(!lines && !fills  ? QStringLiteral("No Contours Selected.")
                     : lines && !fills ? QStringLiteral("Select Lines Only.")
                     : !lines          ? QStringLiteral("Select only Filled Objects.")
                                       : QStringLiteral("Select both Lines and Filled Objects."));
    list_->clear();
    for (const std::string& line : LayerColorList(job_, lines, fills))
        list_->addItem(QString::fromStdString(line));
    const auto found =
        list_->findItems(QString::fromStdString(Tcolorlist::ColourText(colour_)), Qt::MatchExactly);
    list_->setCurrentItem(found.isEmpty() ? nullptr : found.front());
    if (redraw) Redraw();
}

void Tfgetline::SetColour(Colour colour) {
    colour_ = colour;
    picker_->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(colour).name()));
    name_->setText(QString::fromStdString(ColorDisplayName(colour)));
    Redraw();
}

void Tfgetline::Redraw() {
    if (!isVisible()) return;
    const auto image =
        VectorColourPreview(job_, preview_->width(), preview_->height(), lines_->isChecked(),
                            colour_, black_->isChecked(), fills_->isChecked());
    preview_->setPixmap(image ? QPixmap::fromImage(image->View().copy()) : QPixmap());
}

}  // namespace corvan
