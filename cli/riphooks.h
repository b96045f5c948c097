#pragma once
// The engine pieces a command-line RIP run plugs into the RIP command.
#include "rip/ripcommand.h"

namespace corvan {
class AppCore;
}

namespace corvan::cli {

struct RipStats {
    double sourcePixels = 0;  // pixels rendered by the strip composer
};

RipHooks MakeRipHooks(AppCore& app, RipStats* stats);

}  // namespace corvan::cli
