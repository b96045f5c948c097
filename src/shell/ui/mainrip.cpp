// "RIP Now" from the main window, run with the desktop's dialogs around the
// engine's command.
#include "plugins/ui/outputtab.h"
#include "rip/ui/ripnowcommand.h"
#include "shell/ui/gamuttab.h"
#include "shell/ui/mainwindow.h"

namespace corvan {

void TForm1::RipNowCommand() {
    outputTab_->StoreOutputOptions();
    RunRipNow(app_, ui_, this, *gamutTab_);
    ShowJob();
    EnableByState();
}

}  // namespace corvan
