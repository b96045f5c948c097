#include "rip/ui/ripnowcommand.h"

#include "plugins/currentplugin.h"
#include "rip/ui/preflightdialog.h"
#include "rip/ui/ripprogress.h"
#include "shell/ui/qtuserinterface.h"

#include <QApplication>
#include <QWidget>

namespace corvan {

RipResult RunRipNow(AppCore& app, QtUserInterface& ui, QWidget* mainWindow, RipHooks hooks) {
    RipProgressWindow progress;
    hooks.preflight = [mainWindow](PreflightData& data) { return ShowPreflight(mainWindow, data); };
    hooks.showMainWindow = [mainWindow](bool visible) { mainWindow->setVisible(visible); };
    // While the run lasts, progress and Cancel go to the progress window;
    // the status bar's sink comes back afterwards.
    struct Restore {
        QtUserInterface& ui;
        ~Restore() { ui.SetCancelSource(nullptr); }
    } restore{ui};
    ui.SetCancelSource([&progress] {
        QApplication::processEvents();
        return progress.Cancelled();
    });
    auto statusSink = [&progress](int stage, int percent, const std::string& text) {
        progress.Show(stage, percent, QString::fromStdString(text));
    };
    QtUserInterface::ProgressSink previous = ui.ExchangeProgressSink(statusSink);
    RipResult result = RipNow(app, CurrentPlugin(), hooks);
    ui.ExchangeProgressSink(std::move(previous));
    return result;
}

}  // namespace corvan
