#pragma once
// The port through which engine code talks to the operator. The desktop
// program shows real dialogs, the command-line tool answers from its flags,
// and tests script the answers and read back every text that was shown.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

enum class MessageKind { Error, Warning, Information, Confirmation, Plain };

// Buttons a message box offers, as a bit set; the answer is one of them.
enum Button : std::uint32_t {
    ButtonNone = 0,
    ButtonOk = 1u << 0,
    ButtonCancel = 1u << 1,
    ButtonYes = 1u << 2,
    ButtonNo = 1u << 3,
    ButtonAbort = 1u << 4,
    ButtonRetry = 1u << 5,
    ButtonIgnore = 1u << 6,
    ButtonAll = 1u << 7,
};
using Buttons = std::uint32_t;
constexpr Buttons YesNo = ButtonYes | ButtonNo;
constexpr Buttons YesNoCancel = ButtonYes | ButtonNo | ButtonCancel;
constexpr Buttons OkCancel = ButtonOk | ButtonCancel;

struct FileDialogRequest {
    enum class Mode { Open, Save, Folder } mode = Mode::Open;
    std::string title;
    std::string initialDir;
    std::string fileName;
    std::string filter;  // "Project files (*.RIP)|*.RIP|All files (*.*)|*.*"
    std::string defaultExt;
    // A project file: the window shows its thumbnail and page size beside
    // the file list.
    bool projectPreview = false;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Shows text in a modal box of the given kind and returns the button pressed.
    virtual Button Message(MessageKind kind, const std::string& text, Buttons buttons,
                           const std::string& caption = {}) = 0;
    // An input box; empty when cancelled.
    virtual std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) = 0;
    // A file or folder dialog; empty when cancelled.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;

    // Lets the window handle pending events during long work.
    virtual void ProcessMessages() {}
    virtual void SetBusy(bool /*busy*/) {}
    // stage: 0 starting, 1 running (percent valid), 2 ending.
    virtual void Progress(int /*stage*/, int /*percent*/, const std::string& /*text*/) {}
    // True once the operator asked to stop the running long operation.
    virtual bool CancelRequested() { return false; }
    // Writes a line to the job panel of the status bar (or nowhere).
    virtual void StatusText(const std::string& /*text*/) {}

    // Convenience forms used throughout.
    void ShowError(const std::string& text) { Message(MessageKind::Error, text, ButtonOk); }
    void ShowWarning(const std::string& text) { Message(MessageKind::Warning, text, ButtonOk); }
    void ShowInfo(const std::string& text) { Message(MessageKind::Information, text, ButtonOk); }
    void ShowPlain(const std::string& text) { Message(MessageKind::Plain, text, ButtonOk); }
    bool AskYesNo(const std::string& text) {
        return Message(MessageKind::Confirmation, text, YesNo) == ButtonYes;
    }
};

// Answers every question with a fixed default and writes messages to standard
// error: for batch runs where nobody is there to answer.
class ConsoleUserInterface : public UserInterface {
public:
    explicit ConsoleUserInterface(bool answerYes = false) : answerYes_(answerYes) {}
    Button Message(MessageKind kind, const std::string& text, Buttons buttons,
                   const std::string& caption = {}) override;
    std::optional<std::string> Input(const std::string&, const std::string&,
                                     const std::string& initial) override {
        return initial;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }

private:
    bool answerYes_;
};

}  // namespace corvan
