#pragma once
// A length edit that holds millimetres and shows them in the display unit
// (millimetres, or inches when metric units are off). An entry may carry its
// own unit ("25.4mm", "1in", "1\""); a bare number is in the display unit.
// Enter or leaving the edit with a changed, readable text reports a valid
// entry; unreadable text is put back to the held value.
#include <QLineEdit>

namespace corvan {

// A number as the operator reads it: the locale's decimal separator, no
// thousands grouping.
QString DisplayNumber(double value, int decimals);

class TmmNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TmmNumEdit(QWidget* parent = nullptr);

    float value() const { return value_; }
    // Sets the held value and shows it; no entry is reported.
    void setValue(float millimetres);
    // Shows the held value again, in millimetres when `metric`, else in
    // inches; entries are read in that unit from then on.
    void applyUnits(bool metric);

    // Parses an entry in the given display unit; false when unreadable.
    static bool ParseEntry(const QString& text, bool metric, float& millimetres);
    static QString Display(float millimetres, bool metric);

Q_SIGNALS:
    void validEntry();

private:
    void commit();
    void Show();
    float value_ = 0;
    bool metric_ = false;
};

}  // namespace corvan
