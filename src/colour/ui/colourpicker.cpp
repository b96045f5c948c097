#include "colour/ui/colourpicker.h"

#include "colour/spotlist.h"
#include "platform/ui/widgetnames.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QWidgetAction>

namespace corvan {

namespace {

constexpr int kColumns = 8;

QIcon SwatchIcon(const QColor& c, int w, int h) {
    QPixmap pm(w, h);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, w - 1, h - 1);
    return QIcon(pm);
}

}  // namespace

ColourPickerButton::ColourPickerButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    auto* menu = new QMenu(this);
    auto* grid = new QWidget(menu);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    int i = 0;
    for (const NamedColour& named : NamedColours()) {
        auto* b = new QToolButton(grid);
        b->setObjectName(QStringLiteral("palette_%1").arg(i));
        b->setIcon(SwatchIcon(ToQColor(named.value), 14, 14));
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf8(named.name));
        const std::uint32_t value = named.value;
        connect(b, &QToolButton::clicked, this, [this, menu, value] {
            menu->close();
            Pick(value);
        });
        layout->addWidget(b, i / kColumns, i % kColumns);
        ++i;
    }
    auto* gridAction = new QWidgetAction(menu);
    gridAction->setDefaultWidget(grid);
    menu->addAction(gridAction);
    menu->addSeparator();
    QAction* more = menu->addAction(QStringLiteral("Additional Colors"));
    more->setObjectName(QStringLiteral("additionalcolors"));
    connect(more, &QAction::triggered, this, &ColourPickerButton::ChooseMore);
    setMenu(menu);
    SetNoColour();
}

void ColourPickerButton::Paint(const QColor& c) {
    const int h = qMax(10, fontMetrics().height() - 2);
    setIconSize(QSize(48, h));
    setIcon(SwatchIcon(c, 48, h));
}

void ColourPickerButton::SetColour(std::uint32_t colour) {
    colour_ = colour & 0xFFFFFF;
    Paint(ToQColor(colour_));
    const QColor c = ToQColor(colour_);
    setToolTip(QString::asprintf("%d,%d,%d", c.red(), c.green(), c.blue()));
}

void ColourPickerButton::SetNoColour() {
    colour_ = 0;
    Paint(palette().color(QPalette::Button));
    setToolTip(QString());
}

void ColourPickerButton::Pick(std::uint32_t colour) {
    SetColour(colour);
    Q_EMIT ColourPicked(colour_);
}

void ColourPickerButton::ChooseMore() {
    const QColor c = QColorDialog::getColor(ToQColor(colour_), window());
    if (!c.isValid()) return;
    Pick(static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16);
}

}  // namespace corvan
