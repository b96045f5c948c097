#include "shell/ui/appicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace corvan {

QPixmap AppIcon(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 3.5, 21, 25));
    // Cyan, magenta and yellow bands of a printed picture.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 174, 239));
    p.drawRect(QRectF(8, 7, 16, 4));
    p.setBrush(QColor(236, 0, 140));
    p.drawRect(QRectF(8, 12, 16, 4));
    p.setBrush(QColor(255, 212, 0));
    p.drawRect(QRectF(8, 17, 16, 4));
    p.setPen(QPen(QColor(200, 0, 0), 1.2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(10, 9, 12, 14));
    return pm;
}

QPixmap SplashPicture() {
    QPixmap pm(640, 389);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 389);
    g.setColorAt(0, QColor(0x23, 0x31, 0x40));
    g.setColorAt(1, QColor(0x10, 0x18, 0x22));
    p.fillRect(pm.rect(), g);
    p.drawPixmap(40, 60, AppIcon(128));
    QFont f = p.font();
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(200, 80, 420, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("CorvanRIP SE"));
    f.setPixelSize(18);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(0xB0, 0xC4, 0xD8));
    p.drawText(QRect(202, 140, 420, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Wide-format RIP for print and cut"));
    return pm;
}

}  // namespace corvan
