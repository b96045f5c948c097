#pragma once
// "System Path Editor": the ten working folders, grouped as work files,
// system files and output, each with a browse button.
#include <QDialog>

#include <map>
#include <string>

class QLineEdit;

namespace corvan {

class UserInterface;

class Tfpaths : public QDialog {
    Q_OBJECT
public:
    explicit Tfpaths(UserInterface& ui, QWidget* parent = nullptr);

    // Folder values as edited, by registry value name.
    std::map<std::string, std::string> Values() const;
    void SetValue(const std::string& name, const std::string& folder);
    // "Default": every field shows its factory default; nothing is stored.
    void RestoreDefaults();
    // "OK": asks "Update System Paths?" and stores on Yes; closes either way.
    void Confirm();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillFromSettings();
    UserInterface& ui_;
    std::map<std::string, QLineEdit*> fields_;
};

// Shows the dialog modally; true when it was closed with OK.
bool ShowPathEditor(UserInterface& ui, QWidget* parent);

}  // namespace corvan
