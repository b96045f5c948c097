#pragma once
// "Preflight Job Summary": the job report with its warnings, the status
// line, and the job text that may be printed with the job. The dialog edits
// a copy of the preflight data and hands it back on "RIP".
#include "rip/ripcommand.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace corvan {

class Tfpreflight : public QDialog {
    Q_OBJECT
public:
    // `preview` opens the output preview over the dialog; without it the
    // "Preview" button is disabled.
    using PreviewOpener = std::function<void(QWidget* over)>;
    Tfpreflight(const PreflightData& data, QWidget* parent = nullptr, PreviewOpener preview = {});
    PreflightData Data() const;

private:
    void JobTextBoxChanged(bool on);

    PreflightData data_;
    QPlainTextEdit* memo_;
    QLabel* status_;
    QLineEdit* jobText_;
    QCheckBox* printJobText_;
};

// Shows the dialog modally; on "RIP" the data takes the operator's choices.
bool ShowPreflight(QWidget* parent, PreflightData& data, Tfpreflight::PreviewOpener preview);

}  // namespace corvan
