#include "cutting/ui/grabcol.h"

#include "cutting/colourpick.h"
#include "cutting/ui/getline.h"
#include "platform/ui/widgetnames.h"
#include "raster/stripcomposer.h"
#include "shell/ui/helppopup.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvan {

namespace {
constexpr std::int64_t kZoomLimit = 6'000'000;  // pixels
}

class PictureBox : public QWidget {
public:
    explicit PictureBox(Tfgrabcol* owner) : QWidget(), owner_(owner) {
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        const QImage& pic = owner_->picture_;
        const QRect r = e->rect() & pic.rect();
        if (!owner_->previewSelected_->isChecked() || r.width() < 2 || r.height() < 2) {
            p.drawImage(r.topLeft(), pic, r);
            return;
        }
        // Only the visible part is masked: the picture may be large.
        auto part = Bitmap24::FromQImage(pic.copy(r.adjusted(0, 0, 1, 1)));
        auto mask = ToleranceMask(part.get(), part->Width(), part->Height(), owner_->Tolerance(),
                                  owner_->colour_);
        if (mask) p.drawImage(r.topLeft(), mask->View());
    }
    void mousePressEvent(QMouseEvent* e) override { owner_->PointerAt(e->pos(), true); }
    void mouseMoveEvent(QMouseEvent* e) override {
        owner_->PointerAt(e->pos(), e->buttons() != Qt::NoButton);
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        owner_->picking_ = false;
        owner_->pick_->setChecked(false);
    }

private:
    Tfgrabcol* owner_;
};

Tfgrabcol::Tfgrabcol(const TemfFile* job, UserInterface& ui, Colour colour, int tolerance,
                     QWidget* parent)
    : QDialog(parent), job_(job), ui_(ui), colour_(colour), swatch_(colour) {
    setObjectName(QStringLiteral("Tfgrabcol"));
    setWindowTitle(QStringLiteral("Select Pixel Color"));
    auto* root = new QVBoxLayout(this);
    auto* bar = new QToolBar(this);
    const auto tool = [&](const char* name, const QString& text) {
        auto* b = Named(new QToolButton(bar), name);
        b->setText(text);
        bar->addWidget(b);
        return b;
    };
    connect(tool("dzoomall", QStringLiteral("Zoom to All")), &QToolButton::clicked, this,
            &Tfgrabcol::ZoomToAll);
    connect(tool("dzoomin", QStringLiteral("Zoom In")), &QToolButton::clicked, this,
            &Tfgrabcol::ZoomIn);
    connect(tool("dzoomout", QStringLiteral("Zoom Out")), &QToolButton::clicked, this,
            &Tfgrabcol::ZoomOut);
    pick_ = tool("dpickcolor", QStringLiteral("Pick Color"));
    pick_->setCheckable(true);
    previewTwin_ = tool("SpeedButton2", QStringLiteral("Preview Selected"));
    previewTwin_->setCheckable(true);
    auto* vector = tool("SpeedButton13", QStringLiteral("Select Vector Color"));
    root->addWidget(bar);

    auto* body = new QHBoxLayout;
    scroll_ = new QScrollArea(this);
    scroll_->setMinimumSize(560, 420);
    box_ = Named(new PictureBox(this), "Image1");
    scroll_->setWidget(box_);
    scroll_->setAlignment(Qt::AlignCenter);
    body->addWidget(scroll_, 1);
    auto* side = new QGridLayout;
    picker_ = Named(new QPushButton(this), "ColorPickerButton1");
    picker_->setFixedSize(60, 22);
    side->addWidget(new QLabel(QStringLiteral("Color:"), this), 0, 0);
    side->addWidget(picker_, 0, 1);
    tolerance_ = Named(new QSlider(Qt::Horizontal, this), "RxSlider1");
    tolerance_->setRange(0, 255);
    tolerance_->setPageStep(16);
    tolerance_->setValue(tolerance);
    toleranceText_ = new QLabel(this);
    side->addWidget(new QLabel(QStringLiteral("Tolerance:"), this), 1, 0);
    side->addWidget(tolerance_, 1, 1);
    side->addWidget(toleranceText_, 2, 1);
    result_ = Named(new QLabel(this), "Shape1");
    result_->setFixedSize(60, 22);
    side->addWidget(new QLabel(QStringLiteral("Result:"), this), 3, 0);
    side->addWidget(result_, 3, 1);
    excludeWhite_ = Named(new QCheckBox(QStringLiteral("Exlude White"), this), "cexcludewhite");
    excludeWhite_->setChecked(true);
    previewSelected_ = Named(new QCheckBox(QStringLiteral("Preview Selected"), this), "cpreview");
    previewSelected_->setChecked(true);
    previewTwin_->setChecked(true);
    side->addWidget(excludeWhite_, 4, 0, 1, 2);
    side->addWidget(previewSelected_, 5, 0, 1, 2);
    small_ = Named(new QLabel(this), "PaintBox2");
    small_->setFixedSize(220, 170);
    small_->setAlignment(Qt::AlignCenter);
    side->addWidget(small_, 6, 0, 1, 2);
    side->addWidget(MoreInfoButton(this, ui, "dinfo", "Select Raster Color"), 7, 1);
    side->setRowStretch(8, 1);
    body->addLayout(side);
    root->addLayout(body, 1);
    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    statusSwatch_ = new QLabel(status);
    statusSwatch_->setFixedSize(30, 14);
    statusRgb_ = new QLabel(status);
    status->addWidget(statusSwatch_);
    status->addWidget(statusRgb_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    root->addWidget(buttons);
    root->addWidget(status);

    connect(buttons, &QDialogButtonBox::accepted, this, &Tfgrabcol::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tolerance_, &QSlider::valueChanged, this, [this] {
        ShowTolerance();
        RedrawSmall();
        box_->update();
    });
    connect(previewSelected_, &QCheckBox::toggled, this, [this](bool on) {
        previewTwin_->setChecked(on);
        box_->update();
    });
    connect(previewTwin_, &QToolButton::toggled, previewSelected_, &QCheckBox::setChecked);
    connect(picker_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(colour_), this);
        if (c.isValid()) SetColour(MakeColour(c.red(), c.green(), c.blue()));
    });
    connect(vector, &QToolButton::clicked, this, [this] {
        Tfgetline dialog(job_, ui_, colour_, this);
        if (dialog.exec() == QDialog::Accepted) SetColour(dialog.SelectedColour());
    });
    ShowTolerance();
    result_->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(swatch_).name()));
    resize(900, 600);
}

int Tfgrabcol::Tolerance() const {
    return tolerance_->value();
}

void Tfgrabcol::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    ZoomToAll();
    SetColour(swatch_);
}

void Tfgrabcol::Render(QSize size) {
    if (!job_ || size.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto image =
        RenderJobWindow(*job_, size.width(), size.height(), {0, 0, size.width(), size.height()});
    QApplication::restoreOverrideCursor();
    if (!image) return;
    picture_ = image->View().copy();
    box_->resize(picture_.size());
    scroll_->horizontalScrollBar()->setValue(0);
    scroll_->verticalScrollBar()->setValue(0);
    box_->update();
    RedrawSmall();
}

void Tfgrabcol::ZoomToAll() {
    const FittedSize fit =
        FitJobBox(job_, scroll_->viewport()->width() - 20, scroll_->viewport()->height() - 20);
    Render(QSize(fit.width, fit.height));
}

void Tfgrabcol::ZoomIn() {
    const QSize size = picture_.size() * 3 / 2;
    if (static_cast<std::int64_t>(size.width()) * size.height() <= kZoomLimit) Render(size);
}

void Tfgrabcol::ZoomOut() {
    if (static_cast<std::int64_t>(picture_.width()) * picture_.height() > kZoomLimit) return;
    const QSize size = picture_.size() * 2 / 3;
    const QSize room = scroll_->viewport()->size() - QSize(20, 20);
    if (size.width() < room.width() && size.height() < room.height())
        ZoomToAll();
    else
        Render(size);
}

void Tfgrabcol::PointerAt(QPoint p, bool pressed) {
    if (!picture_.rect().contains(p)) return;
    if (pressed && !picking_) {
        picking_ = true;
        pick_->setChecked(true);
    }
    const QRgb rgb = picture_.pixel(p);
    const Colour c = MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
    statusSwatch_->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(c).name()));
    statusRgb_->setText(QString::asprintf("RGB: %d,%d,%d", qRed(rgb), qGreen(rgb), qBlue(rgb)));
    if (picking_ && pressed && !(excludeWhite_->isChecked() && c == 0xFFFFFF)) SetColour(c);
}

void Tfgrabcol::SetColour(Colour colour) {
    colour_ = colour;
    picker_->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(colour).name()));
    RedrawSmall();
    if (previewSelected_->isChecked()) box_->update();
}

void Tfgrabcol::ShowTolerance() {
    const int v = tolerance_->value();
    toleranceText_->setText(QStringLiteral("%1 (%2%)").arg(v).arg(v * 100.0 / 255, 0, 'f', 1));
}

void Tfgrabcol::RedrawSmall() {
    if (picture_.isNull()) return;
    auto source = Bitmap24::FromQImage(picture_);
    const auto image = SelectedColourPreview(source.get(), small_->width(), small_->height(),
                                             colour_, tolerance_->value());
    small_->setPixmap(image ? QPixmap::fromImage(image->View().copy()) : QPixmap());
}

void Tfgrabcol::accept() {
    swatch_ = colour_;
    QDialog::accept();
}

}  // namespace corvan
