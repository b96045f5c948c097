#include "shell/ui/othertabs.h"

#include <QWidget>

namespace corvan {

QWidget* BuildDriverSelectionTab(QWidget* parent) {
    auto* tab = new QWidget(parent);
    tab->setObjectName(QStringLiteral("tab_driverselection"));
    return tab;
}

const QSet<QString>& PendingControls() {
    static const QSet<QString> none;
    return none;
}

}  // namespace corvan
