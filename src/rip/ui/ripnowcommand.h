#pragma once
// "RIP Now" as the desktop runs it: the preflight summary as a dialog, the
// main window hidden while a progress window with Cancel stays up.
#include "rip/ripcommand.h"

class QWidget;

namespace corvan {

class AppCore;
class QtUserInterface;

// `hooks` brings what only other parts provide (the strip renderer, the cut
// path); the dialogs and the window handling are added here.
RipResult RunRipNow(AppCore& app, QtUserInterface& ui, QWidget* mainWindow, RipHooks hooks);

}  // namespace corvan
