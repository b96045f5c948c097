#include "support/scripted_ui.h"

#include <gtest/gtest.h>

namespace corvan::test {

Button ScriptedUi::Message(MessageKind kind, const std::string& text, Buttons buttons,
                           const std::string& caption) {
    Button answer = ButtonNone;
    if (buttons == ButtonOk || buttons == ButtonNone) {
        answer = buttons == ButtonOk ? ButtonOk : ButtonNone;
        // A scripted answer for a plain OK box is accepted but not required.
        if (!answers_.empty() && answers_.front() == ButtonOk) answers_.pop_front();
    } else if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        answer = (buttons & ButtonCancel) ? ButtonCancel : (buttons & ButtonNo) ? ButtonNo : ButtonOk;
    } else {
        answer = answers_.front();
        answers_.pop_front();
        EXPECT_TRUE(buttons & answer) << "answer not offered for: " << text;
    }
    messages.push_back({kind, text, buttons, caption, answer});
    return answer;
}

std::optional<std::string> ScriptedUi::Input(const std::string&, const std::string& prompt,
                                             const std::string& initial) {
    prompts.push_back(prompt);
    if (inputs_.empty()) return initial;
    auto v = inputs_.front();
    inputs_.pop_front();
    return v;
}

std::optional<std::string> ScriptedUi::ChooseFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted file dialog: " << request.title;
        return std::nullopt;
    }
    auto v = files_.front();
    files_.pop_front();
    return v;
}

void ScriptedUi::Progress(int stage, int percent, const std::string&) {
    progress.emplace_back(stage, percent);
}

std::vector<std::string> ScriptedUi::Texts() const {
    std::vector<std::string> t;
    for (const auto& m : messages) t.push_back(m.text);
    return t;
}

}  // namespace corvan::test
