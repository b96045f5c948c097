#pragma once
// The CMYK characterisation used when a picture carries no profile of its
// own, built as an lcms2 profile (lcms2 ships none).
#include <lcms2.h>

namespace corvan {

// A new CMYK -> Lab (D50) input profile; the caller closes it. Null only
// when lcms2 runs out of memory.
cmsHPROFILE CreateDefaultCmykProfile();

}  // namespace corvan
