#pragma once
// The pop-up of a "More Info..." button: one help topic beside the control
// that asked for it, closed by Escape or as soon as it loses the focus.
#include <QDialog>

#include <string>

class QGroupBox;
class QPushButton;

namespace corvan {

class UserInterface;

class THelpPopup : public QDialog {
    Q_OBJECT
public:
    THelpPopup(UserInterface& ui, const std::string& topic, QWidget* parent = nullptr);
    // False when the topic does not exist (nothing to show).
    bool Found() const { return found_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    UserInterface& ui_;
    std::string pdf_;
    bool found_ = false;
};

// Shows the topic beside `control` (top edges and right edges aligned); a
// missing topic is told as topic + " not found!".
void ShowHelpTopic(QWidget* control, UserInterface& ui, const std::string& topic);
// A "More Info..." button that shows `topic`.
QPushButton* MoreInfoButton(QWidget* parent, UserInterface& ui, const char* objectName,
                            const char* topic);
// Such a button at the bottom right of a group.
void AddMoreInfo(QGroupBox* box, UserInterface& ui, const char* objectName, const char* topic);

}  // namespace corvan
