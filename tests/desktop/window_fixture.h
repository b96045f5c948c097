#pragma once
// A main window on fresh settings, with the scripted UI answering questions
// and modal dialogs driven from a timer.
#include "shell/appcore.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/qtuserinterface.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace corvan::test {

// Runs `act` on the next modal dialog of type T once it is up (waiting for it
// up to five seconds of event processing).
template <typename T>
void WhenModal(std::function<void(T*)> act, int triesLeft = 500) {
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [act, triesLeft] {
        auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dlg && triesLeft > 0) return WhenModal<T>(act, triesLeft - 1);
        ASSERT_NE(dlg, nullptr) << "no modal dialog of the expected kind";
        act(dlg);
    });
}

// Like WhenModal, but the driver's own dialogs that come first (a real
// driver shows them now that it has the window) are accepted as they stand.
template <typename T>
void AfterDriverDialogs(std::function<void(T*)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act, triesLeft] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dlg = qobject_cast<T*>(modal)) return act(dlg);
        if (auto* other = qobject_cast<QDialog*>(modal)) other->accept();
        if (triesLeft > 0) return AfterDriverDialogs<T>(act, triesLeft - 1);
        ADD_FAILURE() << "no modal dialog of the expected kind";
    });
}

class WindowTest : public ::testing::Test {
protected:
    void MakeWindow() {
        window = std::make_unique<TForm1>(ui, qtUi);
        window->resize(1280, 800);
    }
    void TearDown() override {
        if (window) {
            Core().CurrentJob.reset();
            window.reset();
        }
    }
    template <typename T>
    T* Find(const char* name) const {
        T* w = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // A control of a dialog by its name.
    template <typename T>
    static T* In(QWidget* dlg, const char* name) {
        T* w = dlg->findChild<T*>(QString::fromUtf8(name));
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

    // The window's own engine core (its real ports).
    AppCore& Core() const { return window->Core(); }

    ScratchHome home;
    ScriptedUi ui;
    QtUserInterface qtUi;
    std::unique_ptr<TForm1> window;
};

}  // namespace corvan::test
