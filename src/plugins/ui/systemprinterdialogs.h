#pragma once
// The system printer's own dialogs: its page setup (the "Printer Options"
// of the system printer) and the properties of a CUPS queue.
#include <string>

class QDialog;
class QWidget;

namespace corvan {

class UserInterface;

// The page setup dialog of the named system printer; true when accepted
// (the choice is kept for the rest of the run).
bool SystemPrinterSetup(QWidget* parent, const std::string& printerName);

// The properties of the queue of that name (matched ignoring case): its
// options dialog. False when no such queue exists.
bool ShowPrinterProperties(QWidget* parent, const std::string& name, UserInterface& ui);

// That options dialog, not yet shown; null when the queue is unknown. Its
// accept stores the changed options (a failure is told through `ui`).
QDialog* NewQueuePropertiesDialog(QWidget* parent, const std::string& name, UserInterface& ui);

// The queue's name in a queue-list entry: the part before the first " on ".
std::string QueueNameOfEntry(const std::string& entry);

}  // namespace corvan
