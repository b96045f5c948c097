#include "common/formdialog.h"

#include <QDialogButtonBox>

namespace drv {

bool RunForm(QDialog& box, QFormLayout* form, const Appliers& apply) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    form->addRow(buttons);
    if (box.exec() != QDialog::Accepted) return false;
    for (const auto& f : apply) f();
    return true;
}

}  // namespace drv
