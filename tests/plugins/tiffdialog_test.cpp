// The TIFF driver's dialogs: shown over the host's window inside a widget
// application, never without a window.
#include "driver_fixture.h"

#include "plugins/pluginobject.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace corvan {
namespace {

class TiffDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureWidgetApplication(); }
    void SetUp() override {
        host.show();
        plugin = std::make_unique<TPluginObject>(home.Path("Data/tiffraster.drv"),
                                                 static_cast<std::uint64_t>(host.winId()));
        ASSERT_TRUE(plugin->Valid);
    }
    void TearDown() override { plugin.reset(); }
    // Runs `operate` on the dialog once it is up, then closes it (OK when
    // `accept`), and returns what Choose_Plugin_Data answered.
    bool Operate(int dialog, bool accept, const std::function<void(QDialog&)>& operate) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = true;
            EXPECT_EQ(box->parentWidget(), &host);
            operate(*box);
            accept ? box->accept() : box->reject();
        });
        const bool answer = plugin->Choose_Plugin_Data(dialog);
        EXPECT_TRUE(seen) << "no dialog " << dialog;
        return answer;
    }
    template <typename T>
    static T* Field(QDialog& box, const char* name) {
        T* w = box.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    test::DriverHome home;
    QWidget host;
    std::unique_ptr<TPluginObject> plugin;
};

TEST_F(TiffDialogs, PrinterOptionsChangeTheDataTypesOnlyWhenAccepted) {
    const std::string out = home.Path("Ripped/x.tif");
    for (bool accept : {false, true}) {
        EXPECT_EQ(
            Operate(1, accept,
                    [&](QDialog& box) {
                        Field<QSpinBox>(box, "DpiX")->setValue(720);
                        Field<QSpinBox>(box, "DpiY")->setValue(1440);
                        Field<QDoubleSpinBox>(box, "MediaWidth")->setValue(914.4);
                        Field<QLineEdit>(box, "OutputFile")->setText(QString::fromStdString(out));
                        Field<QSpinBox>(box, "Passes")->setValue(2);
                    }),
            accept);
        EXPECT_EQ(plugin->Get_Plugin_Datatype(17), accept ? "720" : "360");
        EXPECT_EQ(plugin->Get_Plugin_Datatype(18), accept ? "1440" : "360");
        EXPECT_EQ(plugin->Get_Plugin_Datatype(19), accept ? "914.4" : "1372");
        EXPECT_EQ(plugin->Get_Plugin_Datatype(14), accept ? out : "");
        EXPECT_EQ(plugin->Get_Plugin_Settings(), accept ? 2 : 1);
    }
}

TEST_F(TiffDialogs, SheetSizeColourAndProfileManager) {
    EXPECT_TRUE(Operate(22, true, [&](QDialog& box) {
        EXPECT_EQ(box.findChild<QSpinBox*>("DpiX"), nullptr);
        Field<QDoubleSpinBox>(box, "MediaLength")->setValue(2000);
    }));
    EXPECT_EQ(plugin->Get_Plugin_Datatype(20), "2000");
    EXPECT_TRUE(Operate(11, true, [&](QDialog& box) {
        EXPECT_EQ(Field<QComboBox>(box, "Method")->count(), 6);
        Field<QComboBox>(box, "Method")->setCurrentIndex(5);
    }));
    EXPECT_TRUE(Operate(24, true, [&](QDialog& box) {
        auto* list = Field<QListWidget>(box, "Profiles");
        ASSERT_EQ(list->count(), 2);  // the two shipped profiles
        EXPECT_EQ(list->currentItem()->text(), "CorvanCMYK.icc");
        list->setCurrentRow(list->row(list->findItems("CorvansRGB.icc", Qt::MatchExactly).front()));
    }));
    EXPECT_EQ(plugin->Get_Plugin_Datatype(10), home.Path("Profiles/CorvansRGB.icc"));
    // The method chosen in the colour dialog is part of the settings blob.
    const std::int32_t n = plugin->Get_Plugin_Data(nullptr);
    std::string blob(static_cast<std::size_t>(n), '\0');
    plugin->Get_Plugin_Data(blob.data());
    EXPECT_NE(blob.find("Method=5\n"), std::string::npos);
}

TEST_F(TiffDialogs, NoWindowMeansNoDialogAndAcceptance) {
    plugin->Set_Plugin_Datatype(23, "0");
    bool shown = false;
    QTimer::singleShot(0, [&] { shown = QApplication::activeModalWidget() != nullptr; });
    for (int dialog : {1, 11, 22, 24}) EXPECT_TRUE(plugin->Choose_Plugin_Data(dialog));
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_EQ(plugin->Get_Plugin_Datatype(17), "360");
}

}  // namespace
}  // namespace corvan
