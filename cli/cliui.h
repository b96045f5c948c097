#pragma once
// The command-line tool's user interface: never waits for anyone. Messages
// go to standard error; each question gets the answer configured for the
// start of its text, else the safe default (No, then Cancel, then OK).
#include "platform/userinterface.h"

#include <string>
#include <utility>
#include <vector>

namespace corvan::cli {

class CliUi : public ConsoleUserInterface {
public:
    // Questions whose text starts with `prefix` get `answer`.
    void Answer(std::string prefix, Button answer) { answers_.emplace_back(std::move(prefix), answer); }
    Button Message(MessageKind kind, const std::string& text, Buttons buttons,
                   const std::string& caption = {}) override;
    // A progress line on standard error while it is a terminal.
    void Progress(int stage, int percent, const std::string& text) override;

private:
    std::vector<std::pair<std::string, Button>> answers_;
    bool terminal_ = false;
    bool checked_ = false;
};

}  // namespace corvan::cli
