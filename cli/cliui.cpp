#include "cliui.h"

#include <cstdio>
#include <iostream>

#include <unistd.h>

namespace corvan::cli {

Button CliUi::Message(MessageKind kind, const std::string& text, Buttons buttons, const std::string& caption) {
    for (const auto& [prefix, answer] : answers_) {
        if (text.rfind(prefix, 0) == 0 && (buttons & answer)) {
            std::string line = text;
            for (char& c : line)
                if (c == '\r' || c == '\n') c = ' ';
            std::cerr << "corvanrip: " << line << " -> " << (answer == ButtonYes ? "Yes" : answer == ButtonNo ? "No" : "answered") << "\n";
            return answer;
        }
    }
    return ConsoleUserInterface::Message(kind, text, buttons, caption);
}

void CliUi::Progress(int stage, int percent, const std::string& text) {
    if (!checked_) {
        terminal_ = isatty(STDERR_FILENO) != 0;
        checked_ = true;
    }
    if (!terminal_) return;
    if (stage == 2) {
        std::fprintf(stderr, "\r\033[K");
    } else {
        std::fprintf(stderr, "\r\033[K%3d%%  %s", percent, text.c_str());
    }
    std::fflush(stderr);
}

}  // namespace corvan::cli
