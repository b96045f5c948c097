#include "rip/ui/ripnowcommand.h"

#include "display/ui/printzoom.h"
#include "plugins/currentplugin.h"
#include "plugins/printsupport/qtprintercanvas.h"
#include "rip/ui/preflightdialog.h"
#include "rip/ui/ripprogress.h"
#include "shell/appcore.h"
#include "shell/ripwiring.h"
#include "shell/ui/qtuserinterface.h"

#include <QApplication>
#include <QWidget>

namespace corvan {

namespace {

class DesktopRip final : public ShellRip {
public:
    DesktopRip(AppCore& app, QWidget* mainWindow, RipProgressWindow& progress, GamutView& gamut)
        : ShellRip(app), mainWindow_(mainWindow), progress_(progress), gamut_(gamut) {}

    bool Preflight(PreflightData& data) override {
        return ShowPreflight(mainWindow_, data, [this](QWidget* over) {
            OpenOutputPreview(app_, CurrentCropMarkCorners(app_), over);
        });
    }
    void RedrawGamutPreview() override { gamut_.RedrawGamut(); }
    void GamutMethodCleared() override { gamut_.ShowGamutMethod(); }
    void ShowMainWindow(bool visible) override { mainWindow_->setVisible(visible); }
    // The progress window stays on top: it must be gone before the closing
    // question, or the question opens behind it.
    void RunEnded() override { progress_.hide(); }

protected:
    std::unique_ptr<PrinterCanvas> SystemPrinterCanvas(const std::string& name) override {
        auto canvas = std::make_unique<QtPrinterCanvas>(name);
        if (canvas->Usable()) return canvas;
        app_.Ui().ShowError("The printer " + name + " is not available.");
        return nullptr;
    }

private:
    QWidget* mainWindow_;
    RipProgressWindow& progress_;
    GamutView& gamut_;
};

}  // namespace

RipResult RunRipNow(AppCore& app, QtUserInterface& ui, QWidget* mainWindow, GamutView& gamut) {
    RipProgressWindow progress;
    DesktopRip port(app, mainWindow, progress, gamut);
    // While the run lasts, progress and Cancel go to the progress window;
    // the status bar's sink comes back afterwards.
    struct Restore {
        QtUserInterface& ui;
        ~Restore() { ui.SetCancelSource(nullptr); }
    } restore{ui};
    ui.SetCancelSource([&progress] {
        QApplication::processEvents();
        return progress.Cancelled();
    });
    auto statusSink = [&progress](int stage, int percent, const std::string& text) {
        if (stage != 2) progress.Show(stage, percent, QString::fromStdString(text));
    };
    QtUserInterface::ProgressSink previous = ui.ExchangeProgressSink(statusSink);
    RipResult result = RipNow(app, CurrentPlugin(), port);
    ui.ExchangeProgressSink(std::move(previous));
    return result;
}

}  // namespace corvan
