#pragma once
// "Settings": the preferences of preferences.ini on three pages (General,
// Advanced, RIP Settings) with a side bar that also reaches the system path
// editor and the driver's profile manager. OK asks "Update Settings?" and
// stores every value; the caller applies them.
#include <QDialog>

#include <map>
#include <string>

class QCheckBox;
class QLabel;
class QListWidget;
class QSlider;
class QSpinBox;
class QStackedWidget;

namespace corvan {

class AppCore;
class TmmNumEdit;

class Tfproperties : public QDialog {
    Q_OBJECT
public:
    Tfproperties(AppCore& app, int page, QWidget* parent = nullptr);
    ~Tfproperties() override;

    int Page() const;
    void SetPage(int page);
    // "Restore": the stored values (or the defaults) into the controls.
    void Restore();
    // Every control's value into preferences.ini; false when it cannot be written.
    bool Store();
    // "OK": asks "Update Settings?"; Yes stores and closes, No stays.
    void Confirm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildGeneral();
    QWidget* BuildAdvanced();
    QWidget* BuildRip();
    QWidget* BuildSideBar();
    void SideBarClicked(int row);
    void ShowPreviewSize(int value);
    QCheckBox* Box(const char* name, const char* caption);

    AppCore& app_;
    QListWidget* sideBar_;
    QStackedWidget* pages_;
    std::map<std::string, QCheckBox*> boxes_;
    std::map<std::string, TmmNumEdit*> lengths_;
    QSpinBox* maxPreview_;
    QLabel* labelMaxPreview_;
    QSlider* smoothLevel_;
    QLabel* labelLevel_;
    QSpinBox* ripDpi_;
    QLabel* defaultJobSize_;
};

// Shows the dialog at `page`; true when it closed with OK.
bool ShowSettings(AppCore& app, int page, QWidget* parent);

}  // namespace corvan
