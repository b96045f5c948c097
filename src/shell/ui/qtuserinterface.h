#pragma once
// The desktop program's side of the UserInterface port: real message boxes,
// input boxes and file dialogs, parented to the main window.
#include "platform/userinterface.h"

#include <QPointer>

#include <QString>
#include <functional>

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
    using ProgressSink = std::function<void(int, int, const std::string&)>;
    void SetProgressSink(ProgressSink sink) { progress_ = std::move(sink); }
    // Installs a sink and returns the one it replaces.
    ProgressSink ExchangeProgressSink(ProgressSink sink) {
        std::swap(sink, progress_);
        return sink;
    }

    // Asked by long work whether the operator pressed Cancel.
    void SetCancelSource(std::function<bool()> source) { cancel_ = std::move(source); }

    Button Message(MessageKind kind, const std::string& text, Buttons buttons,
                   const std::string& caption = {}) override;
    std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    void ProcessMessages() override;
    void SetBusy(bool busy) override;
    void Progress(int stage, int percent, const std::string& text) override;
    void StatusText(const std::string& text) override;
    bool CancelRequested() override { return cancel_ && cancel_(); }

private:
    QPointer<QWidget> parent_;
    std::function<void(const std::string&)> status_;
    std::function<void(int, int, const std::string&)> progress_;
    std::function<bool()> cancel_;
};

}  // namespace corvan
