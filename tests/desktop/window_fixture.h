#pragma once
// A main window on fresh settings, with the scripted UI answering questions
// and modal dialogs driven from a timer.
#include "shell/appcore.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/qtuserinterface.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace corvan::test {

// Runs `act` on the next modal dialog of type T once it is up.
template <typename T>
void WhenModal(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr) << "no modal dialog of the expected kind";
        act(dlg);
    });
}

class WindowTest : public ::testing::Test {
protected:
    void MakeWindow() {
        window = std::make_unique<TForm1>(core, qtUi);
        window->resize(1280, 800);
    }
    void TearDown() override {
        if (window) {
            core.CurrentJob.reset();
            window.reset();
        }
    }
    template <typename T>
    T* Find(const char* name) const {
        T* w = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // A saved project with the given page width.
    std::string Project(const std::string& name, float width);
    // The window with that project open and unmodified, its device a roll
    // 1000 mm wide; returns the project's path.
    std::string OpenOnRoll(const std::string& name, float width);
    // Types into a length edit and leaves it.
    void EnterLength(const char* edit, const char* text);

    ScratchHome home;
    ScriptedUi ui;
    QtUserInterface qtUi;
    AppCore core;
    std::unique_ptr<TForm1> window;
};

}  // namespace corvan::test
