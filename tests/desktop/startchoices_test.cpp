// What the first start offers on a system where the quick start guide may
// be missing.
#include "window_fixture.h"

#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "shell/startup.h"
#include "shell/ui/startwizard.h"

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
        // The wizard that follows is closed without a choice.
        WhenModal<Tfhello>([](Tfhello* w) { w->reject(); });
        DeferredStart(Core());
        const auto texts = ui.Texts();
        const bool asked =
            std::find(texts.begin(), texts.end(), kQuickStartQuestion) != texts.end();
        EXPECT_EQ(asked, installed);
        for (const std::string& t : texts) EXPECT_EQ(t.find("Windows"), std::string::npos) << t;
        window.reset();
    }
}

}  // namespace
}  // namespace corvan::test
