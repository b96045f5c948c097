// What the start wizard's choices and the first start offer on a system
// where only some of the help and settings exist.
#include "window_fixture.h"

#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "shell/startup.h"
#include "shell/ui/pathseditor.h"

#include <QDialog>

#include <algorithm>

namespace corvan::test {
namespace {

const char* const kQuickStartQuestion = "Would you like to view the Quick Start Guide?";

using StartChoices = WindowTest;

TEST_F(StartChoices, QuickStartIsOfferedOnlyWhenAGuideIsInstalled) {
    for (const bool installed : {false, true}) {
        SCOPED_TRACE(installed);
        ui.messages.clear();
        WriteRegBool("DoQuickStart", true);
        WriteRegString("DocumentDir", home.Path("Documents/"));
        if (installed) WriteFileBytes(home.Path("Quick_Start.html"), "<p>guide</p>");
        MakeWindow();
        if (installed) ui.Answer(ButtonNo);
        core.ShowStartWizard = [] { return 0; };
        DeferredStart(core);
        const auto texts = ui.Texts();
        const bool asked =
            std::find(texts.begin(), texts.end(), kQuickStartQuestion) != texts.end();
        EXPECT_EQ(asked, installed);
        for (const std::string& t : texts) EXPECT_EQ(t.find("Windows"), std::string::npos) << t;
        window.reset();
    }
}

TEST_F(StartChoices, HelpWithoutHelpFilesSaysSo) {
    MakeWindow();
    RunWizardChoice(core, 4);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.Texts()[0].find("help"), std::string::npos) << ui.Texts()[0];
}

TEST_F(StartChoices, SettingsOpensTheFolderSettings) {
    MakeWindow();
    bool shown = false;
    WhenModal<Tfpaths>([&shown](Tfpaths* dlg) {
        shown = true;
        dlg->reject();
    });
    RunWizardChoice(core, 6);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace corvan::test
