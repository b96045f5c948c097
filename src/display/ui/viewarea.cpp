#include "display/ui/viewarea.h"

#include "platform/ui/icons.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace corvan {

namespace {

constexpr int kStripHeight = 33;

QFrame* Separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

HeaderStrip::HeaderStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox7"));
    setFixedHeight(kStripHeight);
}

void HeaderStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int i = 0; i < kStripHeight; ++i) {
        const int g = 255 - ((i * 128) >> 5);
        p.setPen(QColor(g, g, g));
        p.drawLine(0, i, width(), i);
    }
}

ViewArea::ViewArea(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("paneldisp"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    view_ = new JobView(app, this);
    grid->addWidget(BuildHeader(), 0, 0, 1, 2);
    top_ = new Ruler(Qt::Horizontal, this);
    top_->setObjectName(QStringLiteral("RsRuler1"));
    left_ = new Ruler(Qt::Vertical, this);
    left_->setObjectName(QStringLiteral("RsRuler2"));
    auto* corner = new QWidget(this);
    corner->setFixedSize(static_cast<QWidget*>(left_)->sizeHint().width(),
                         static_cast<QWidget*>(top_)->sizeHint().height());
    grid->addWidget(corner, 1, 0);
    grid->addWidget(top_, 1, 1);
    grid->addWidget(left_, 2, 0);
    grid->addWidget(view_, 2, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);
    connect(view_, &JobView::mappingChanged, this, &ViewArea::Refresh);
    connect(view_, &JobView::pointerMoved, this, [this](QPoint at) {
        top_->SetHairLine(at.x());
        left_->SetHairLine(at.y());
    });
}

QToolButton* ViewArea::AddButton(QWidget* parent, const char* name, const QString& text,
                                 const QString& hint, const char* icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setText(text);
    b->setToolTip(hint);
    b->setIcon(ThemedIcon(QString::fromUtf8(icon)));
    b->setIconSize(QSize(kMenuIconSize, kMenuIconSize));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    parent->layout()->addWidget(b);
    return b;
}

QWidget* ViewArea::BuildHeader() {
    auto* strip = new HeaderStrip(this);
    auto* h = new QHBoxLayout(strip);
    h->setContentsMargins(6, 2, 6, 2);
    h->setSpacing(2);
    auto* views = new QButtonGroup(this);
    views->setExclusive(true);
    const struct {
        const char* name;
        const char* text;
        const char* hint;
        const char* icon;
    } buttons[] = {
        {"dviewpic", "Artwork", "Show Artwork", "image-x-generic"},
        {"dviewpage", "Layout", "Job Layout", "document-preview"},
        {"dviewprinter", "Printer", "Virtual Preview", "printer"},
        {"dviewNone", "Draft", "Draft View", "draw-freehand"},
        {"dviewcut", "Cutfile", "Show Cutfile", "edit-cut"},
        {"dviewimage", "Raster", "", "insert-image"},
    };
    for (const auto& button : buttons) {
        QToolButton* b = AddButton(strip, button.name, QString::fromUtf8(button.text),
                                   QString::fromUtf8(button.hint), button.icon);
        b->setCheckable(true);
        if (std::string_view(button.name).starts_with("dviewp")) views->addButton(b);
        if (std::string_view(button.name) == "dviewprinter") h->addWidget(Separator(strip));
        connect(b, &QToolButton::clicked, this, [this, b] { Q_EMIT viewButtonClicked(b); });
    }
    h->addStretch(1);
    QToolButton* fit = AddButton(strip, "dzoomfit", QStringLiteral("Fit"),
                                 QStringLiteral("Fit the view (double click)"), "zoom-fit-best");
    QToolButton* actual = AddButton(strip, "dzoom100", QStringLiteral("100 %"),
                                    QStringLiteral("Actual size"), "zoom-original");
    // The zoom buttons are known by their pictures where the theme has them.
    for (QToolButton* b : {fit, actual})
        if (!b->icon().isNull()) b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(fit, &QToolButton::clicked, this, [this] { view_->ZoomFit(); });
    connect(actual, &QToolButton::clicked, this, [this] { view_->ZoomActual(); });
    zoomText_ = new QLabel(strip);
    zoomText_->setObjectName(QStringLiteral("label_zoom"));
    zoomText_->setMinimumWidth(
        zoomText_->fontMetrics().horizontalAdvance(QStringLiteral("9999 %")));
    zoomText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    h->addWidget(zoomText_);
    return strip;
}

QToolButton* ViewArea::Button(const char* name) const {
    return findChild<QToolButton*>(QString::fromUtf8(name));
}

void ViewArea::SetUnit(RulerUnit unit) {
    top_->SetUnit(unit);
    left_->SetUnit(unit);
}

void ViewArea::Refresh() {
    const SceneFit f = view_->Mapping();
    const bool shown = app_.CurrentJob && f.valid;
    zoomText_->setText(shown ? QStringLiteral("%1 %").arg(f.RulerScale()) : QString());
    top_->setEnabled(shown);
    left_->setEnabled(shown);
    if (!shown) return;
    // The rulers count from the scene's corner: the page, the media, or
    // the media's left edge under the printer.
    double ox = f.x0, oy = f.y0;
    if (app_.Views.ViewMode == ViewFlags::Printer) {
        const PrinterFrame fr = PrinterFrameFor(*app_.CurrentJob, app_.CurrentPlotter);
        ox = f.X(fr.mediaRight - app_.CurrentPlotter.MediaWidth);
        oy = f.Y(fr.sheetTop);
    }
    top_->SetMapping(ox + view_->x() - top_->x(), f.s);
    left_->SetMapping(oy + view_->y() - left_->y(), f.s);
}

}  // namespace corvan
