#include "shell/appcore.h"

namespace corvan {

void AppCore::MarkModified() {
    if (!CurrentJob) return;
    CurrentJob->Modified = true;
    SaveEnabled = true;
}

}  // namespace corvan
