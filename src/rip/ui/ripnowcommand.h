#pragma once
// "RIP Now" as the desktop runs it: the preflight summary as a dialog, the
// main window hidden while a progress window with Cancel stays up.
#include "rip/ripcommand.h"

class QWidget;

namespace corvan {

class AppCore;
class QtUserInterface;

RipResult RunRipNow(AppCore& app, QtUserInterface& ui, QWidget* mainWindow);

}  // namespace corvan
