#include "common/formdialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>

namespace drv {

bool RunForm(QDialog& box, QFormLayout* form, const Appliers& apply) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    form->addRow(buttons);
    // A short form still shows its whole title: the window manager cuts it
    // to the window's width, beside its own buttons (about a hundred pixels).
    // The host's name follows the title there; title bars use a bold face.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const QString shown = box.windowTitle() + " \u2014 " + QApplication::applicationDisplayName();
    box.setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(shown) + 120);
    if (box.exec() != QDialog::Accepted) return false;
    for (const auto& f : apply) f();
    return true;
}

}  // namespace drv
