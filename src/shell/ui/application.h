#pragma once
// The desktop application object. Every exception that reaches the event
// loop is shown as "<message>, Addr: <address> <offset>" in an error box and
// logged with "Exception: "; the program goes on.
#include <QApplication>

#include <functional>
#include <string>

namespace corvan {

class UserInterface;

class CorvanApplication : public QApplication {
    Q_OBJECT
public:
    CorvanApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The text the handler shows for an exception raised at `address`.
    static std::string ExceptionText(const std::string& message, const void* address);
    // Where caught exceptions are shown; must outlive the event loop.
    void SetReporter(UserInterface* ui) { reporter_ = ui; }
    // Shows (through the reporter, else on standard error) and logs one
    // caught exception.
    static void ReportException(const std::string& message);

private:
    UserInterface* reporter_ = nullptr;
};

// Runs a command and reports what it throws the same way, inside the slot:
// an exception must not unwind through the toolkit's signal dispatch.
void RunGuarded(const std::function<void()>& command);

// Where the last exception was raised (0 when unknown).
const void* LastThrowAddress();

}  // namespace corvan
