#pragma once
// The tabs whose commands come with later parts of the program (contour
// cut). Their controls exist with their names
// and captions so the window's layout, tab order and enabling rule are
// complete; `PendingControls` lists the ones without a command yet, which
// the window keeps disabled.
#include <QSet>
#include <QString>

class QWidget;

namespace corvan {

QWidget* BuildContourCutTab(QWidget* parent);
QWidget* BuildDriverSelectionTab(QWidget* parent);

const QSet<QString>& PendingControls();

}  // namespace corvan
