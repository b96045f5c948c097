#pragma once
// Answers the core's job size question from the test and records each
// request.
#include "shell/appcore.h"

#include <optional>
#include <vector>

namespace corvan::test {

struct ScriptedJobSize {
    ScriptedJobSize(AppCore& app, std::optional<AppCore::JobSize> first) : answer(first) {
        app.AskJobSize = [this](const AppCore::JobSizeRequest& r) {
            requests.push_back(r);
            return answer;
        };
    }
    ScriptedJobSize(const ScriptedJobSize&) = delete;
    ScriptedJobSize& operator=(const ScriptedJobSize&) = delete;

    std::vector<AppCore::JobSizeRequest> requests;
    std::optional<AppCore::JobSize> answer;
};

}  // namespace corvan::test
