#pragma once
// TForm1, the main window: menus, tool bar, view area, the tabbed control
// panel with its navigation, and the status bar. It observes the engine
// core (job, layout, state changes) and carries out what the core's
// commands ask of a window.
#include "rip/ripcommand.h"
#include "shell/appcore.h"
#include "shell/ui/mainfrontend.h"
#include "shell/windowstate.h"

#include <QMainWindow>
#include <QSet>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QTabWidget;
class QToolButton;

namespace corvan {

class JobView;
class ViewArea;
class OutputTab;
class PositionTab;
class PrintingTab;
class ProjectTab;
class SpotTab;
class GamutTab;
class ContourTab;
class QtUserInterface;
class StatusPanel;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Runs the creation steps: device record, window state, recent menus,
    // preferences. The window owns the engine core; the UIs outlive it.
    // `questions` answers the engine's questions (the Qt UI itself in the
    // program, a scripted one in tests); `ui` carries the window's status,
    // progress and dialog parent.
    TForm1(UserInterface& questions, QtUserInterface& ui, QWidget* parent = nullptr);
    explicit TForm1(QtUserInterface& ui, QWidget* parent = nullptr);
    ~TForm1() override;

    void ShowJob();
    void ClearJobDisplay();
    void ShowDevice();
    void EnableByState();
    void ShowLayout();
    void ShowLoadProgress(int stage, int percent, const std::string& text);
    // The first display's work (command-line file or the deferred start).
    void FirstShow(const std::string& commandLine);
    // A second copy of the program handed its argument over: the window is
    // restored and raised, and a non-empty argument is loaded.
    void HandOverArrived(const std::string& argument);
    // "Settings..." at a page (0 General, 1 Advanced, 2 RIP Settings); the
    // preferences are applied when it closes with OK.
    bool SettingsCommand(int page);
    void SetExpert(bool expert);
    bool Expert() const;
    void SetMetric(bool metric);
    // The diagnostics command with a given code word (tests call it directly).
    void RunDiagnostics(const std::string& word);

    void RipNowCommand();

    AppCore& Core() { return app_; }
    MainFrontEnd& Front() { return front_; }

    QTabWidget* PageControl() const { return PageControl1_; }
    JobView* View() const { return view_; }
    // Controls and commands kept disabled until their engine part exists.
    const QSet<QString>& Unavailable() const { return unavailable_; }
    WindowState CurrentWindowState() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class MainFrontEnd;
    void ConnectCore();
    void BuildMenus();
    void BuildFileMenu(QMenu* m);
    void BuildEditMenu(QMenu* m);
    void BuildViewMenu(QMenu* m);
    void BuildToolBar();
    void BuildCentre();
    QWidget* BuildNavigation();
    void BuildStatusBar();
    void BuildRecentMenus();
    void RestoreState();
    void StoreState();
    void ArrangeTabs();
    void TabChanged(int index);
    void Step(int delta);
    // The view buttons and the View menu (mainviews.cpp).
    void BuildViewCommands(QMenu* m);
    void ConnectViewArea();
    void ViewMenuClicked(const char* button);
    void ViewButtonClicked(QToolButton* sender);
    // The buttons into the view state (SetDispPropsExecute).
    void SetDispProps();
    // The view state onto the buttons and menu items.
    void ShowViewState();
    void ShowViewChecks();
    void ApplyPreferencesToWindow();
    // The driver list and the printer commands (driverchoice.cpp).
    void BuildPrinterMenu(QMenu* m);
    void ConnectPrinterCommands();
    void FillDriverCombo();
    void ChooseDriver(int index);
    void UpdateDriverList();
    void DownloadDriverCommand();
    void RestoreDriverList();
    void DeviceChanged();
    void PrinterSetupCommand(int dialog);
    void QueueChosen(int index);
    void QueuePropertiesCommand();
    void UninstallDriverCommand();
    void LoadPrinterSettings();
    void RipFromFile();
    // The save button follows the core's flag once the running command is done.
    void SyncSaveButtonLater();
    // The job's name in the title bar, marked while it has unsaved changes.
    void ShowTitle();
    // A restored size made to fit the screen the window opens on.
    QSize FitScreen(QSize wanted) const;
    QAction* Act(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& key = {});
    // Connects a menu command; what it throws is reported, not propagated.
    void Command(QAction* action, std::function<void()> command);
    QAction* Pending(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& key = {});

    MainFrontEnd front_{*this};
    QtUserInterface& ui_;
    AppCore app_;
    QTabWidget* PageControl1_ = nullptr;
    QTabWidget* PageControl2_ = nullptr;
    std::vector<QWidget*> pages_;  // every tab page in window order
    std::vector<QWidget*> expertPages_;
    QButtonGroup* navGroup_ = nullptr;
    QToolButton* dexpert_ = nullptr;
    ProjectTab* projectTab_ = nullptr;
    SpotTab* spotTab_ = nullptr;
    GamutTab* gamutTab_ = nullptr;
    ContourTab* contourTab_ = nullptr;
    PositionTab* positionTab_ = nullptr;
    PrintingTab* printingTab_ = nullptr;
    OutputTab* outputTab_ = nullptr;
    ViewArea* viewArea_ = nullptr;
    JobView* view_ = nullptr;
    StatusPanel* devicePanel_ = nullptr;
    StatusPanel* jobPanel_ = nullptr;
    QLabel* hintPanel_ = nullptr;
    QLabel* smallPanel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QMenu* Recent1_ = nullptr;
    QMenu* popuprecent_ = nullptr;
    QAction* metricAction_ = nullptr;
    QSet<QString> unavailable_;
    QWidget* quickLinks_ = nullptr;
    bool stateStored_ = false;
};

}  // namespace corvan
