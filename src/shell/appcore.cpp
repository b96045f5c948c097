#include "shell/appcore.h"

namespace corvan {

AppCore::AppCore(FrontEnd& front, UserInterface& ui)
    : Drivers(front, ui), front_(front), ui_(ui), driverPort_(Drivers, CurrentPlotter) {}

AppCore::~AppCore() = default;

}  // namespace corvan
