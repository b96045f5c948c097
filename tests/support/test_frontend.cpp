#include "support/test_frontend.h"

#include <algorithm>

namespace corvan::test {

int RecordingFrontEnd::Count(const std::string& name) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

std::optional<JobSize> RecordingFrontEnd::AskJobSize(const JobSizeRequest& request) {
    sizeRequests.push_back(request);
    if (askJobSize) return askJobSize(request);
    return JobSize{request.width, request.height};
}

std::string RecordingDriver::Datatype(int type) {
    const auto it = datatypes.find(type);
    return it == datatypes.end() ? std::string() : it->second;
}

}  // namespace corvan::test
