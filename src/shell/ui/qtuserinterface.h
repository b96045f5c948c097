#pragma once
// The desktop program's side of the UserInterface port: real message boxes,
// input boxes and file dialogs, parented to the main window.
#include "shell/userinterface.h"

#include <QPointer>
#include <QString>

class QWidget;
class QStatusBar;

namespace corvan {

// Carriage returns in the program's texts are line breaks on screen.
QString ScreenText(const std::string& text);
// "Name (*.a *.b)|*.a *.b|All files (*)|*" as a QFileDialog filter list.
QString DialogFilter(const std::string& filter);

class QtUserInterface : public UserInterface {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Receives status texts and the load progress.
    void SetStatusSink(std::function<void(const std::string&)> sink) { status_ = std::move(sink); }
    void SetProgressSink(std::function<void(int, int, const std::string&)> sink) {
        progress_ = std::move(sink);
    }

    Button Message(MessageKind kind, const std::string& text, Buttons buttons,
                   const std::string& caption = {}) override;
    std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    void ProcessMessages() override;
    void SetBusy(bool busy) override;
    void Progress(int stage, int percent, const std::string& text) override;
    void StatusText(const std::string& text) override;

private:
    QPointer<QWidget> parent_;
    std::function<void(const std::string&)> status_;
    std::function<void(int, int, const std::string&)> progress_;
};

}  // namespace corvan
