#pragma once
// The engine core of one command-line run. The tool has no window: questions
// are answered by the UI policy from the flags, the job size question takes
// the proposal, and what only a window can do is logged as absent.
#include "shell/appcore.h"
#include "shell/ripwiring.h"

namespace corvan::cli {

class CliFrontEnd final : public FrontEnd {
public:
    void JobChanged() override {}
    void LayoutChanged(bool) override {}
    void BackgroundChanged() override {}
    void StateChanged() override {}
    void Repaint() override {}
    // No view builds a preview here, so saved projects carry no thumbnail.
    void SettlePreview() override {}
    std::optional<JobSize> AskJobSize(const JobSizeRequest& request) override;
    void RecentChanged() override {}
    void ActivateProjectTab() override {}
    void PostStartMessage() override;
    int SystemPrinterCount() override { return 0; }
    void RebuildDriverList() override;
    void CreateLargePaperForms() override;
    bool ShowPathEditor() override;
    int ShowStartWizard() override { return 0; }
    void OpenQuickStart() override;
    void ShowHelpTopics() override;
    bool ShowSettings(int page) override;
    std::optional<std::string> ChooseLibraryFile(bool layers, const FileDialogRequest& plain,
                                                 UserInterface& ui) override;
    std::uint64_t HostWindowId() override;
};

// A RIP run without dialogs: the preflight summary goes to the log, the
// system printer is not reachable (the tool does not link print support).
class CliRip final : public ShellRip {
public:
    using ShellRip::ShellRip;
    bool Preflight(PreflightData& data) override;
    void RedrawGamutPreview() override {}
    void GamutMethodCleared() override {}
    void ShowMainWindow(bool) override {}
    void RunEnded() override {}

protected:
    std::unique_ptr<PrinterCanvas> SystemPrinterCanvas(const std::string& name) override;
};

struct CliSession {
    // Messages go to standard error; questions take their safe answer.
    CliSession() : CliSession(console) {}
    explicit CliSession(UserInterface& ui) : app(front, ui) {}
    ConsoleUserInterface console;
    CliFrontEnd front;
    AppCore app;
};

}  // namespace corvan::cli
