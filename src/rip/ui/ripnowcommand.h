#pragma once
// "RIP Now" as the desktop runs it: the preflight summary as a dialog, the
// main window hidden while a progress window with Cancel stays up.
#include "rip/ripcommand.h"

class QWidget;

namespace corvan {

class AppCore;
class QtUserInterface;

// What a run asks of the window's gamut mapping tab.
class GamutView {
public:
    virtual ~GamutView() = default;
    virtual void RedrawGamut() = 0;
    // The driver's colour dialog took over the method: show the job's.
    virtual void ShowGamutMethod() = 0;
};

RipResult RunRipNow(AppCore& app, QtUserInterface& ui, QWidget* mainWindow, GamutView& gamut);

}  // namespace corvan
