#include "shell/ui/statuspanel.h"

#include "platform/ui/icons.h"

#include <QPainter>

namespace corvan {

StatusPanel::StatusPanel(const QIcon& icon, int width, QWidget* parent)
    : QWidget(parent), icon_(icon), width_(width) {
    setMinimumWidth(width);
}

void StatusPanel::setText(const QString& text) {
    text_ = text;
    setToolTip(text);
    update();
}

QSize StatusPanel::sizeHint() const {
    return {width_, fontMetrics().height() + 6};
}

void StatusPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    icon_.paint(&p, QRect(1, (height() - kMenuIconSize) / 2, kMenuIconSize, kMenuIconSize));
    p.setPen(palette().color(QPalette::WindowText));
    const QRect textRect(23, 2, width() - 25, height() - 2);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
               fontMetrics().elidedText(text_, Qt::ElideMiddle, textRect.width()));
}

}  // namespace corvan
