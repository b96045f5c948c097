#pragma once
// Answers the core's job size question from the test and records each
// request.
#include "support/test_frontend.h"

#include <optional>
#include <vector>

namespace corvan::test {

struct ScriptedJobSize {
    ScriptedJobSize(RecordingFrontEnd& front, std::optional<JobSize> first) : answer(first) {
        front.askJobSize = [this](const JobSizeRequest& r) {
            requests.push_back(r);
            return answer;
        };
    }
    ScriptedJobSize(const ScriptedJobSize&) = delete;
    ScriptedJobSize& operator=(const ScriptedJobSize&) = delete;

    std::vector<JobSizeRequest> requests;
    std::optional<JobSize> answer;
};

}  // namespace corvan::test
