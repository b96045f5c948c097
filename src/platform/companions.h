#pragma once
// Companion programs that run beside the RIP. Their Windows locations are
// mapped to Linux here and nowhere else:
//
//   vinyl spooler (x:\lathepro\spooler.exe on drives c to l)
//       $CORVANRIP_VINYL_SPOOLER, else /opt/lathepro/spooler,
//       ~/lathepro/spooler, else "lathepro-spooler" on the PATH
//   curve-edit module (program folder + Curvist.exe, x:\lathepro\curvist.exe)
//       $CORVANRIP_CURVE_EDITOR, else program folder + "curvist",
//       /opt/lathepro/curvist, ~/lathepro/curvist, else "lathepro-curvist"
//       on the PATH
#include <string>

namespace corvan {

// The vinyl spooler's executable, or empty when none is installed.
std::string FindVinylSpooler();
// The curve-edit module's executable, or empty when none is installed.
std::string FindCurveEditModule();
// Starts a program without waiting for it; false when it could not start.
bool StartDetached(const std::string& program);

}  // namespace corvan
