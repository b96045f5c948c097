#pragma once
// A UserInterface for tests: records every message with its kind, buttons and
// caption, and answers from queues filled by the test. An unscripted question
// fails the test rather than guessing.
#include "platform/userinterface.h"

#include <deque>
#include <string>
#include <vector>

namespace corvan::test {

struct ShownMessage {
    MessageKind kind;
    std::string text;
    Buttons buttons;
    std::string caption;
    Button answer;
};

class ScriptedUi : public UserInterface {
public:
    ScriptedUi() : previous_(Newest()) { Newest() = this; }
    ~ScriptedUi() override { Newest() = previous_; }

    // The newest live one, so a test core made after it answers through it.
    static ScriptedUi*& Newest() {
        static ScriptedUi* newest = nullptr;
        return newest;
    }

    void Answer(Button b) { answers_.push_back(b); }
    void AnswerInput(std::optional<std::string> s) { inputs_.push_back(std::move(s)); }
    void AnswerFile(std::optional<std::string> s) { files_.push_back(std::move(s)); }

    Button Message(MessageKind kind, const std::string& text, Buttons buttons,
                   const std::string& caption = {}) override;
    std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    void ProcessMessages() override { ++processMessagesCalls; }
    void Progress(int stage, int percent, const std::string& text) override;
    bool CancelRequested() override { return cancel; }
    void StatusText(const std::string& text) override { statusTexts.push_back(text); }

    std::vector<ShownMessage> messages;
    std::vector<std::string> prompts;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::string> statusTexts;
    std::vector<std::pair<int, int>> progress;
    int processMessagesCalls = 0;
    bool cancel = false;

    // The texts shown, in order, for compact assertions.
    std::vector<std::string> Texts() const;

private:
    ScriptedUi* previous_;
    std::deque<Button> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<std::string>> files_;
};

}  // namespace corvan::test
