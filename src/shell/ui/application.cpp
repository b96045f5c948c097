#include "shell/ui/application.h"

#include "platform/debuglog.h"
#include "platform/ui/icons.h"
#include "platform/userinterface.h"

#include <dlfcn.h>

#include <cstdio>
#include <exception>

namespace corvan {

CorvanApplication::CorvanApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetUpIconTheme();
}

std::string CorvanApplication::ExceptionText(const std::string& message, const void* address) {
    // The offset is counted from the start of the code: the load address of
    // the module that holds the address, plus 0x1000.
    std::uintptr_t offset = 0;
    Dl_info info{};
    if (address && dladdr(address, &info) && info.dli_fbase)
        offset = reinterpret_cast<std::uintptr_t>(address) -
                 reinterpret_cast<std::uintptr_t>(info.dli_fbase) - 0x1000;
    char text[64];
    std::snprintf(text, sizeof text, ", Addr: %p %lx", address, static_cast<unsigned long>(offset));
    return message + text;
}

void CorvanApplication::ReportException(const std::string& message) {
    const std::string text = ExceptionText(message, LastThrowAddress());
    auto* app = qobject_cast<CorvanApplication*>(QCoreApplication::instance());
    if (app && app->reporter_)
        app->reporter_->ShowError(text);
    else
        std::fprintf(stderr, "corvanrip: %s\n", text.c_str());
    LogLine("Exception: " + text);
}

void RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        CorvanApplication::ReportException(e.what());
    } catch (...) {
        CorvanApplication::ReportException("Unknown exception");
    }
}

bool CorvanApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportException(e.what());
    } catch (...) {
        ReportException("Unknown exception");
    }
    return false;
}

}  // namespace corvan
