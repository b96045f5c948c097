#include "shell/ui/pathseditor.h"

#include "platform/registry.h"
#include "platform/paths.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace corvan {
namespace {

class PathEditor : public ::testing::Test {
protected:
    test::ScratchHome home;
    test::ScriptedUi ui;
};

TEST_F(PathEditor, ShowsEveryFolderAndStoresOnlyOnYes) {
    Tfpaths dlg(ui);
    const auto values = dlg.Values();
    ASSERT_EQ(values.size(), kFolderValueNames.size());
    for (const char* name : kFolderValueNames) EXPECT_EQ(values.at(name), ReadPath(name)) << name;
    EXPECT_EQ(dlg.findChild<QLineEdit*>("dirEMFdir")->text().toStdString(), ReadPath("EMFDir"));

    const std::string docs = home.Path("MyJobs/");
    dlg.SetValue("DocumentDir", docs);
    ui.Answer(ButtonNo);
    dlg.Confirm();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(ReadRegRaw("DocumentDir").empty());

    ui.Answer(ButtonYes);
    dlg.Confirm();
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Update System Paths?", "Update System Paths?"}));
    EXPECT_EQ(ReadRegRaw("DocumentDir"), docs);
    EXPECT_EQ(ReadPath("DocumentDir"), docs);
}

TEST_F(PathEditor, DefaultFillsFactorySettingsWithoutStoring) {
    Tfpaths dlg(ui);
    dlg.SetValue("ImageDir", "/somewhere/else/");
    dlg.RestoreDefaults();
    EXPECT_EQ(dlg.Values().at("ImageDir"), DefaultPath("ImageDir"));
    EXPECT_FALSE(RegValueExists("ImageDir"));
}

}  // namespace
}  // namespace corvan
