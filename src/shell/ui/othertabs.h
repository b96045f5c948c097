#pragma once
// The driver selection tab (its controls live on the output tab; the page
// itself is kept hidden for the tab order), and the window parts still
// waiting for their commands, which the window keeps disabled.
#include <QSet>
#include <QString>

class QWidget;

namespace corvan {

QWidget* BuildDriverSelectionTab(QWidget* parent);

const QSet<QString>& PendingControls();

}  // namespace corvan
