#pragma once
// The end every settings dialog of these drivers shares: OK and Cancel
// under the form, run modally, and the editors' values written back only
// when OK was pressed.
#include <QDialog>
#include <QFormLayout>

#include <functional>
#include <vector>

namespace drv {

// Editors register how they write their value back.
using Appliers = std::vector<std::function<void()>>;

// Adds the buttons, runs the dialog and applies on OK; true on OK.
bool RunForm(QDialog& box, QFormLayout* form, const Appliers& apply);

}  // namespace drv
