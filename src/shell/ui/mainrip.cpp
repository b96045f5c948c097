// "RIP Now" from the main window: enabled once the strip renderer is
// installed, run with the desktop's dialogs around the engine's command.
#include "plugins/ui/outputtab.h"
#include "rip/ui/ripnowcommand.h"
#include "shell/ui/mainwindow.h"

namespace corvan {

void TForm1::SetRipRenderer(RipHooks hooks) {
    ripHooks_ = std::move(hooks);
    const bool ready = static_cast<bool>(ripHooks_.renderStrip);
    for (const QString& name : {QStringLiteral("dripnow"), QStringLiteral("RIPNow1")}) {
        if (ready)
            unavailable_.remove(name);
        else
            unavailable_.insert(name);
    }
    EnableByState();
}

void TForm1::RipNowCommand() {
    if (!ripHooks_.renderStrip) return;
    outputTab_->StoreOutputOptions();
    RunRipNow(app_, ui_, this, ripHooks_);
    ShowJob();
    EnableByState();
}

}  // namespace corvan
