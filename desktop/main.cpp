// The desktop program. Start order: the debug log, the splash with its
// status lines, the title, the main window's creation, the first display
// (a file named on the command line, or the deferred start), the event
// loop, and the end line.
//
//   corvanrip [FILE...]
//   corvanrip --screenshot OUT.png [--dialog NAME] [--tab PAGE] [--size WxH] [FILE...]
//
// The screenshot form starts without a display, loads FILE (taking every
// proposed size as it is), renders the main window, or the dialog NAME
// (jobsize, jobsize-image, paths, wizard, about, splash, preflight), to OUT.png and
// exits. --tab makes the tab page of that object name current first.
#include "placement/ui/jobsizedialog.h"
#include "platform/bitmap.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "plugins/driverlist.h"
#include "plugins/printsupport/qtsystemprinter.h"
#include "plugins/systemprinter.h"
#include "plugins/ui/systemprinterdialogs.h"
#include "rip/ui/preflightdialog.h"
#include "shell/appcore.h"
#include "shell/loading.h"
#include "shell/ui/aboutbox.h"
#include "shell/ui/appicon.h"
#include "shell/ui/application.h"
#include "shell/ui/loadpic.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/pathseditor.h"
#include "shell/ui/qtuserinterface.h"
#include "shell/ui/settingsdialog.h"
#include "shell/ui/singleinstance.h"
#include "shell/ui/splash.h"
#include "shell/ui/startwizard.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Options {
    std::string screenshot;
    std::string dialog;
    std::string tab;
    int width = 1280;
    int height = 800;
    std::string file;
    bool bad = false;
};

Options ParseArgs(int argc, char** argv) {
    Options o;
    std::string joined;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--screenshot" && hasValue) {
            o.screenshot = argv[++i];
        } else if (a == "--dialog" && hasValue) {
            o.dialog = argv[++i];
        } else if (a == "--tab" && hasValue) {
            o.tab = argv[++i];
        } else if (a == "--size" && hasValue) {
            o.bad = std::sscanf(argv[++i], "%dx%d", &o.width, &o.height) != 2;
        } else if (a.rfind("--", 0) == 0) {
            o.bad = true;
        } else {
            // All other arguments name one file, joined with blanks.
            joined += (joined.empty() ? "" : " ") + a;
        }
    }
    if (!joined.empty())
        o.file = QFileInfo(QString::fromStdString(joined)).absoluteFilePath().toStdString();
    return o;
}

QWidget* MakeDialog(const std::string& name, corvan::TForm1* parent,
                    std::unique_ptr<corvan::Bitmap24>& picture) {
    using namespace corvan;
    if (name == "jobsize") return new Tfsize({nullptr, false, 200, 280}, parent);
    if (name == "jobsize-image") {
        picture = Bitmap24::Create(3000, 2000);
        QImage view = picture->View();
        view.fill(QColor(70, 130, 180));
        return new Tfsize({picture.get(), true, 3000, 2000}, parent);
    }
    if (name == "paths") return new Tfpaths(parent->Core().Ui(), parent);
    if (name == "wizard") return new Tfhello(parent);
    if (name == "about") return new Tfabout(parent);
    if (name == "settings") return new Tfproperties(parent->Core(), 0, parent);
    if (name == "loadpic")
        return new TFloadpic(parent->Core().Ui(), LibraryMode::Images,
                             InstalledDataFolder() + "samples/", parent);
    if (name == "splash") return new SplashWindow;
    if (name == "queueproperties") {
        SystemPrinterPort* port = CurrentSystemPrinterPort();
        const auto queues = port ? port->PrinterNames() : std::vector<std::string>();
        return queues.empty()
                   ? nullptr
                   : NewQueuePropertiesDialog(parent, queues.front(), parent->Core().Ui());
    }
    if (name == "preflight") {
        AppCore& core = parent->Core();
        if (!core.CurrentJob) {
            core.CurrentJob = std::make_unique<TemfFile>();
            core.CurrentJob->FileName = "/jobs/Shop window.RIP";
            core.CurrentJob->ComputeLayout();
        }
        return new Tfpreflight(BuildPreflight(core), parent);
    }
    return nullptr;
}

int Screenshot(const Options& o, corvan::QtUserInterface& ui) {
    using namespace corvan;
    // Nobody is there to answer: messages go to standard error.
    ConsoleUserInterface console;
    TForm1 window(console, ui);
    window.Front().SetUnattended(true);
    AppCore& core = window.Core();
    core.StartupDone = true;
    window.resize(o.width, o.height);
    window.show();
    if (!o.file.empty()) LoadAnything(core, o.file);
    if (!o.tab.empty())
        if (auto* page = window.findChild<QWidget*>(QString::fromStdString(o.tab)))
            window.PageControl()->setCurrentWidget(page);
    QApplication::processEvents();
    QWidget* target = &window;
    std::unique_ptr<Bitmap24> picture;
    std::unique_ptr<QWidget> dialog;
    if (!o.dialog.empty()) {
        dialog.reset(MakeDialog(o.dialog, &window, picture));
        if (!dialog) {
            std::fprintf(stderr, "corvanrip: unknown dialog %s\n", o.dialog.c_str());
            return 2;
        }
        dialog->show();
        target = dialog.get();
    }
    QApplication::processEvents();
    const bool ok = target->grab().save(QString::fromStdString(o.screenshot));
    if (!ok) std::fprintf(stderr, "corvanrip: cannot write %s\n", o.screenshot.c_str());
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArgs(argc, argv);
    if (options.bad) {
        std::fprintf(
            stderr,
            "usage: corvanrip [--screenshot OUT.png [--dialog NAME] [--size WxH]] [FILE]\n");
        return 2;
    }
    if (!options.screenshot.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    corvan::CorvanApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CorvanRIP"));
    QApplication::setWindowIcon(QIcon(corvan::AppIcon(64)));
    // A second copy hands its file to the first and ends before anything shows.
    std::unique_ptr<corvan::SingleInstance> instance;
    if (options.screenshot.empty()) {
        instance = std::make_unique<corvan::SingleInstance>();
        const QStringList args = options.file.empty()
                                     ? QStringList()
                                     : QStringList{QString::fromStdString(options.file)};
        if (instance->HandOverOrListen(
                corvan::MakeHandOver(QCoreApplication::applicationFilePath(), args)))
            return 0;
    }
    corvan::QtUserInterface ui;
    corvan::OpenLog(ui);
    corvan::InstallQtSystemPrinter();
    if (!options.screenshot.empty()) {
        QApplication::setApplicationDisplayName(QStringLiteral("CorvanRIP SE"));
        return Screenshot(options, ui);
    }
    auto splash = std::make_unique<corvan::SplashWindow>();
    splash->show();
    splash->repaint();
    QApplication::setApplicationDisplayName(QStringLiteral("CorvanRIP SE"));
    splash->Play(1000, 100);
    corvan::LogLine("Create Form1");
    auto window = std::make_unique<corvan::TForm1>(ui);
    QObject::connect(
        instance.get(), &corvan::SingleInstance::ArgumentReceived, window.get(),
        [&window](const QString& argument) { window->HandOverArrived(argument.toStdString()); });
    splash.reset();
    window->show();
    window->FirstShow(options.file);
    const int rc = app.exec();
    window.reset();
    corvan::LogLine("End. ");
    return rc;
}
