#include "plugins/ui/systemprinterdialogs.h"

#include "plugins/printsupport/cupsoptions.h"
#include "plugins/printsupport/qtsystemprinter.h"
#include "plugins/systemprinter.h"
#include "platform/userinterface.h"

#include <cups/cups.h>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>

#include <memory>

namespace corvan {

namespace {

// One combo per option, named after the option so tests can find it.
class QueuePropertiesDialog : public QDialog {
public:
    QueuePropertiesDialog(QWidget* parent, const std::string& queue,
                          const std::vector<QueueOption>& options)
        : QDialog(parent), options_(options) {
        setObjectName(QStringLiteral("QueueProperties"));
        setWindowTitle(QStringLiteral("%1 Properties").arg(QString::fromStdString(queue)));
        auto* v = new QVBoxLayout(this);
        auto* form = new QFormLayout;
        for (const QueueOption& opt : options_) {
            auto* combo = new QComboBox(this);
            combo->setObjectName(QString::fromStdString(opt.name));
            for (const auto& [value, caption] : opt.choices)
                combo->addItem(QString::fromStdString(caption), QString::fromStdString(value));
            int current = combo->findData(QString::fromStdString(opt.current));
            if (current < 0) {
                // Nothing chosen yet: the printer decides until the operator does.
                combo->insertItem(0, QStringLiteral("Printer default"), QString());
                current = 0;
            }
            combo->setCurrentIndex(current);
            form->addRow(QString::fromStdString(opt.label) + QStringLiteral(":"), combo);
            combos_.push_back(combo);
        }
        if (options_.empty())
            v->addWidget(new QLabel(QStringLiteral("This printer has no settable options."), this));
        v->addLayout(form);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        v->addWidget(buttons);
    }

    // The options whose choice differs from what was in use.
    std::vector<std::pair<std::string, std::string>> Changes() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (std::size_t i = 0; i < options_.size(); ++i) {
            const std::string value = combos_[i]->currentData().toString().toStdString();
            if (!value.empty() && value != options_[i].current)
                out.emplace_back(options_[i].name, value);
        }
        return out;
    }

private:
    std::vector<QueueOption> options_;
    std::vector<QComboBox*> combos_;
};

}  // namespace

bool SystemPrinterSetup(QWidget* parent, const std::string& printerName) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printerName));
    QPrinter printer(info, QPrinter::HighResolution);
    QtSystemPrinter& printers = InstalledQtSystemPrinter();
    printers.ApplySetup(printer);
    QPageSetupDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
    if (dialog.exec() != QDialog::Accepted) return false;
    printers.KeepSetup(printer);
    return true;
}

std::string QueueNameOfEntry(const std::string& entry) {
    const auto on = entry.find(" on ");
    return on == std::string::npos ? entry : entry.substr(0, on);
}

QDialog* NewQueuePropertiesDialog(QWidget* parent, const std::string& name, UserInterface& ui) {
    const std::string queue = FindQueue(name);
    if (queue.empty()) return nullptr;
    const auto options = ReadQueueOptions(queue);
    if (!options) return nullptr;
    auto* dialog = new QueuePropertiesDialog(parent, queue, *options);
    QObject::connect(dialog, &QDialog::accepted, dialog, [dialog, queue, &ui] {
        const auto changes = dialog->Changes();
        if (!changes.empty() && !WriteQueueOptions(queue, changes))
            ui.ShowError("Unable to store the options of " + queue + ": " + cupsLastErrorString());
    });
    return dialog;
}

bool ShowPrinterProperties(QWidget* parent, const std::string& name, UserInterface& ui) {
    std::unique_ptr<QDialog> dialog(NewQueuePropertiesDialog(parent, name, ui));
    if (!dialog) return false;
    dialog->exec();
    return true;
}

}  // namespace corvan
