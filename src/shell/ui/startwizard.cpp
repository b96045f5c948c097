#include "shell/ui/startwizard.h"

#include "platform/ui/icons.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

namespace corvan {

namespace {

struct Area {
    const char* title;
    const char* description;
    const char* icon;  // standard icon name
};

constexpr Area kAreas[] = {
    {"Open Job", "Open a Saved Document", "document-open"},
    {"Image as New Job", "Select an Image, as a New Docuent.", "image-x-generic"},
    {"New Job", "Create a New Docuent, ready to insert layered artwork.", "document-new"},
    {"Help", "View the CorvanRIP Help files.", "help-contents"},
    {"Recent Job", "Open the Document that was most recently edited.", "document-open-recent"},
    {"Settings", "Edit current Settings for CorvanRIP.", "configure"},
};

constexpr int kTileW = 180, kTileH = 120, kGap = 12, kCols = 3;

}  // namespace

Tfhello::Tfhello(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fhello"));
    setWindowTitle(QStringLiteral("Welcome to CorvanRIP SE"));
    auto* v = new QVBoxLayout(this);
    normal_ = Picture(false);
    highlighted_ = Picture(true);
    picture_ = new QLabel(this);
    picture_->setPixmap(QPixmap::fromImage(normal_));
    picture_->setMouseTracking(true);
    picture_->installEventFilter(this);
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("label_description"));
    description_->setAlignment(Qt::AlignCenter);
    description_->setMinimumHeight(description_->fontMetrics().height() * 2);
    v->addWidget(picture_);
    v->addWidget(description_);
    setFixedSize(sizeHint());
}

QRect Tfhello::AreaRect(int area) const {
    const int i = area - 1;
    return {kGap + (i % kCols) * (kTileW + kGap), kGap + (i / kCols) * (kTileH + kGap), kTileW,
            kTileH};
}

int Tfhello::AreaAt(const QPoint& p) const {
    for (int a = 1; a <= 6; ++a)
        if (AreaRect(a).contains(p)) return a;
    return 0;
}

QImage Tfhello::Picture(bool highlighted) const {
    QImage img(kCols * (kTileW + kGap) + kGap, 2 * (kTileH + kGap) + kGap, QImage::Format_RGB32);
    img.fill(QColor(0x2B, 0x3A, 0x4A));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    f.setBold(true);
    p.setFont(f);
    for (int a = 1; a <= 6; ++a) {
        const QRect r = AreaRect(a);
        p.setPen(Qt::NoPen);
        p.setBrush(highlighted ? QColor(0x3D, 0x8E, 0xD8) : QColor(0x41, 0x55, 0x6B));
        p.drawRoundedRect(r, 8, 8);
        const Area& area = kAreas[a - 1];
        ThemedIcon(QString::fromLatin1(area.icon))
            .paint(&p, QRect(r.center().x() - 20, r.top() + 18, 40, 40));
        p.setPen(Qt::white);
        p.drawText(r.adjusted(6, 64, -6, -6), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromUtf8(area.title));
    }
    return img;
}

void Tfhello::Hover(int area) {
    if (area == hover_) return;
    QImage shown = normal_;
    if (area > 0) {
        QPainter p(&shown);
        const QRect r = AreaRect(area);
        p.drawImage(r.topLeft(), highlighted_.copy(r));
    }
    hover_ = area;
    picture_->setPixmap(QPixmap::fromImage(shown));
    description_->setText(area > 0 ? QString::fromUtf8(kAreas[area - 1].description) : QString());
}

void Tfhello::Choose(int area) {
    choice_ = area;
    done(area > 0 ? QDialog::Accepted : QDialog::Rejected);
}

bool Tfhello::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_) {
        if (event->type() == QEvent::MouseMove)
            Hover(AreaAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
        else if (event->type() == QEvent::Leave)
            Hover(0);
        else if (event->type() == QEvent::MouseButtonRelease) {
            const int a = AreaAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (a > 0) Choose(a);
        }
    }
    return QDialog::eventFilter(watched, event);
}

int ShowStartWizard(QWidget* parent) {
    Tfhello wizard(parent);
    wizard.exec();
    const int choice = wizard.Choice();
    QApplication::processEvents();
    return choice;
}

}  // namespace corvan
