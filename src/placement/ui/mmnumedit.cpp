#include "placement/ui/mmnumedit.h"

#include "job/units.h"

#include <QLocale>
#include <QRegularExpression>

namespace corvan {

TmmNumEdit::TmmNumEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setMaximumWidth(110);
    connect(this, &QLineEdit::editingFinished, this, &TmmNumEdit::commit);
    setValue(0);
}

QString DisplayNumber(double value, int decimals) {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc.toString(value, 'f', decimals);
}

QString TmmNumEdit::Display(float millimetres, bool metric) {
    if (metric) return DisplayNumber(millimetres, 1) + QStringLiteral(" mm");
    return DisplayNumber(millimetres / 25.4, 3) + QStringLiteral(" in");
}

bool TmmNumEdit::ParseEntry(const QString& text, bool metric, float& millimetres) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*([-+]?[0-9]*[.,]?[0-9]+)\\s*(mm|cm|in|\"|)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text);
    if (!m.hasMatch()) return false;
    QString number = m.captured(1);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (!ok) return false;
    const QString unit = m.captured(2).toLower();
    double factor = metric ? 1.0 : 25.4;
    if (unit == QLatin1String("mm")) factor = 1.0;
    if (unit == QLatin1String("cm")) factor = 10.0;
    if (unit == QLatin1String("in") || unit == QLatin1String("\"")) factor = 25.4;
    millimetres = static_cast<float>(v * factor);
    return true;
}

void TmmNumEdit::setValue(float millimetres) {
    value_ = millimetres;
    Show();
}

void TmmNumEdit::applyUnits(bool metric) {
    metric_ = metric;
    Show();
}

void TmmNumEdit::Show() {
    setText(Display(value_, metric_));
}

void TmmNumEdit::commit() {
    if (isReadOnly()) return;
    float v = 0;
    if (!ParseEntry(text(), metric_, v)) {
        Show();
        return;
    }
    if (text() == Display(value_, metric_)) return;  // nothing was typed
    value_ = v;
    Show();
    Q_EMIT validEntry();
}

}  // namespace corvan
