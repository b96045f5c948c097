#pragma once
// The engine pieces a RIP run plugs into the RIP command: the strip
// composer, the cut path and the system printer through Qt Print Support.
#include "rip/ripcommand.h"

namespace corvan {

class AppCore;

struct RipStats {
    double sourcePixels = 0;  // pixels rendered by the strip composer
};

RipHooks MakeRipHooks(AppCore& app, RipStats* stats);

}  // namespace corvan
