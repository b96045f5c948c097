#pragma once
// What the engine asks of the main window: refreshes after job changes, the
// job size dialog, the start dialogs and the host window of driver dialogs.
#include "shell/appcore.h"

namespace corvan {

class TForm1;

class MainFrontEnd final : public FrontEnd {
public:
    explicit MainFrontEnd(TForm1& form) : form_(form) {}

    // Nobody is there to answer (a screenshot run): questions take their
    // proposals and the deferred start is not posted.
    void SetUnattended(bool unattended) { unattended_ = unattended; }

    void JobChanged() override;
    void LayoutChanged(bool repaint) override;
    void BackgroundChanged() override;
    void StateChanged() override;
    void Repaint() override;
    void SettlePreview() override;
    std::optional<JobSize> AskJobSize(const JobSizeRequest& request) override;
    void RecentChanged() override;
    void ActivateProjectTab() override;
    void PostStartMessage() override;
    int SystemPrinterCount() override;
    void RebuildDriverList() override;
    void CreateLargePaperForms() override;
    bool ShowPathEditor() override;
    int ShowStartWizard() override;
    void OpenQuickStart() override;
    void ShowHelpTopics() override;
    bool ShowSettings(int page) override;
    std::optional<std::string> ChooseLibraryFile(bool layers, const FileDialogRequest& plain,
                                                 UserInterface& ui) override;
    std::uint64_t HostWindowId() override;

private:
    TForm1& form_;
    bool unattended_ = false;
};

}  // namespace corvan
