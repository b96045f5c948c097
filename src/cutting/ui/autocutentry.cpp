// The main window's way into the autotrace dialog and back.
#include "cutting/ui/autocut.h"
#include "platform/debuglog.h"
#include "shell/appcore.h"
#include "shell/layercommands.h"

#include <QApplication>

namespace corvan {

void OpenAutoTrace(AppCore& app, QWidget* parent) {
    if (!app.CurrentJob) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto source = RenderAutotraceSource(*app.CurrentJob);
    QApplication::restoreOverrideCursor();
    if (!source) {
        app.Ui().ShowError("The job page is empty: nothing to trace.");
        return;
    }
    std::string file;
    Colour colour = 0;
    {
        Tfautocut dialog(std::move(source), app.Ui(), parent);
        if (dialog.exec() != QDialog::Accepted) return;
        file = dialog.ResultFile();
        colour = dialog.ContourColour();
    }
    LogLine("Autotrace layer: " + file);
    if (!file.empty()) AppendTracedLayer(app, file, colour);
}

}  // namespace corvan
