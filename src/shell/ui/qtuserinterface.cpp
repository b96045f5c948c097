#include "shell/ui/qtuserinterface.h"

#include "display/ui/ripdialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

#include <memory>

namespace corvan {

namespace {

struct ButtonMap {
    Button ours;
    QMessageBox::StandardButton qt;
};

constexpr ButtonMap kButtons[] = {
    {ButtonOk, QMessageBox::Ok},         {ButtonCancel, QMessageBox::Cancel},
    {ButtonYes, QMessageBox::Yes},       {ButtonNo, QMessageBox::No},
    {ButtonAbort, QMessageBox::Abort},   {ButtonRetry, QMessageBox::Retry},
    {ButtonIgnore, QMessageBox::Ignore}, {ButtonAll, QMessageBox::YesToAll},
};

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
        case MessageKind::Plain:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QString CaptionOf(MessageKind kind, const std::string& caption) {
    if (!caption.empty()) return QString::fromStdString(caption);
    switch (kind) {
        case MessageKind::Error:
            return QStringLiteral("Error");
        case MessageKind::Warning:
            return QStringLiteral("Warning");
        case MessageKind::Information:
            return QStringLiteral("Information");
        case MessageKind::Confirmation:
            return QStringLiteral("Confirm");
        case MessageKind::Plain:
            return QApplication::applicationDisplayName();
    }
    return {};
}

}  // namespace

QString ScreenText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QString DialogFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList out;
    // Pairs of "label|patterns"; the label already names the patterns.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) out << parts[i];
    return out.join(QStringLiteral(";;"));
}

Button QtUserInterface::Message(MessageKind kind, const std::string& text, Buttons buttons,
                                const std::string& caption) {
    QMessageBox box(IconOf(kind), CaptionOf(kind, caption), ScreenText(text), QMessageBox::NoButton,
                    parent_);
    for (const ButtonMap& b : kButtons)
        if (buttons & b.ours) box.addButton(b.qt);
    if (buttons == ButtonNone) box.addButton(QMessageBox::Ok);
    if (buttons & ButtonYes) box.setDefaultButton(QMessageBox::Yes);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const ButtonMap& b : kButtons)
        if (b.qt == pressed) return b.ours;
    // Closed with Escape or the title bar: the safest answer offered.
    if (buttons & ButtonCancel) return ButtonCancel;
    if (buttons & ButtonNo) return ButtonNo;
    return buttons & ButtonOk ? ButtonOk : ButtonNone;
}

std::optional<std::string> QtUserInterface::Input(const std::string& caption,
                                                  const std::string& prompt,
                                                  const std::string& initial) {
    bool ok = false;
    const QString v = QInputDialog::getText(parent_, QString::fromStdString(caption),
                                            QString::fromStdString(prompt), QLineEdit::Normal,
                                            QString::fromStdString(initial), &ok);
    if (!ok) return std::nullopt;
    return v.toStdString();
}

namespace {

// The project dialogs with their thumbnail panel.
QString ChooseProjectFile(QWidget* parent, const FileDialogRequest& r) {
    std::unique_ptr<TopenRipDialog> dlg;
    if (r.mode == FileDialogRequest::Mode::Save)
        dlg = std::make_unique<TsaveRipDialog>(parent);
    else
        dlg = std::make_unique<TopenRipDialog>(parent);
    if (!r.title.empty()) dlg->setWindowTitle(QString::fromStdString(r.title));
    if (!r.initialDir.empty()) dlg->setDirectory(QString::fromStdString(r.initialDir));
    if (!r.fileName.empty()) dlg->selectFile(QString::fromStdString(r.fileName));
    if (dlg->exec() != QDialog::Accepted || dlg->selectedFiles().isEmpty()) return {};
    return dlg->selectedFiles().front();
}

}  // namespace

std::optional<std::string> QtUserInterface::ChooseFile(const FileDialogRequest& r) {
    const QString title = QString::fromStdString(r.title);
    QString start = QString::fromStdString(r.initialDir);
    if (!r.fileName.empty()) start = QString::fromStdString(r.fileName);
    QString chosen;
    if (r.projectPreview) {
        chosen = ChooseProjectFile(parent_, r);
        return chosen.isEmpty() ? std::nullopt : std::optional(chosen.toStdString());
    }
    switch (r.mode) {
        case FileDialogRequest::Mode::Open:
            chosen = QFileDialog::getOpenFileName(parent_, title, start, DialogFilter(r.filter));
            break;
        case FileDialogRequest::Mode::Save: {
            QFileDialog dlg(parent_, title, start, DialogFilter(r.filter));
            dlg.setAcceptMode(QFileDialog::AcceptSave);
            dlg.setDefaultSuffix(QString::fromStdString(r.defaultExt));
            if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
                chosen = dlg.selectedFiles().front();
            break;
        }
        case FileDialogRequest::Mode::Folder:
            chosen = QFileDialog::getExistingDirectory(parent_, title, start);
            break;
    }
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

void QtUserInterface::ProcessMessages() {
    QApplication::processEvents();
}

void QtUserInterface::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUserInterface::Progress(int stage, int percent, const std::string& text) {
    if (progress_) progress_(stage, percent, text);
    QApplication::processEvents();
}

void QtUserInterface::StatusText(const std::string& text) {
    if (status_) status_(text);
}

}  // namespace corvan
