#include "job/jobsession.h"

namespace corvan {

void JobSession::MarkModified() {
    if (!CurrentJob) return;
    CurrentJob->Modified = true;
    SaveEnabled = true;
}

}  // namespace corvan
