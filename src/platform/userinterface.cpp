#include "platform/userinterface.h"

#include <iostream>

namespace corvan {

namespace {
const char* KindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error: return "error";
        case MessageKind::Warning: return "warning";
        case MessageKind::Information: return "info";
        case MessageKind::Confirmation: return "question";
        case MessageKind::Plain: return "message";
    }
    return "message";
}

std::string OneLine(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}
}  // namespace

Button ConsoleUserInterface::Message(MessageKind kind, const std::string& text, Buttons buttons,
                                     const std::string&) {
    std::cerr << "corvanrip: " << KindName(kind) << ": " << OneLine(text) << "\n";
    // Never block: a question takes the configured answer; otherwise the safe
    // one (No, then Cancel, then OK).
    if ((buttons & ButtonYes) && answerYes_) return ButtonYes;
    if (buttons & ButtonNo) return ButtonNo;
    if (buttons & ButtonCancel) return ButtonCancel;
    if (buttons & ButtonOk) return ButtonOk;
    return ButtonNone;
}

}  // namespace corvan
