#pragma once
// The colour of the chart manager in four spaces at once: L*a*b*, XYZ, RGB
// and CMYK, plus a picker. Typing in one group and pressing Enter converts
// it to L*a*b* and refills every group from there.
#include "colour/colourspace.h"

#include <QSet>
#include <QWidget>

class QAbstractSpinBox;
class QDoubleSpinBox;
class QGroupBox;
class QSpinBox;

namespace corvan {

class ColourPickerButton;

class ColourFields : public QWidget {
    Q_OBJECT
public:
    explicit ColourFields(QWidget* parent = nullptr);

    // Fills every group from L*a*b* without reporting an edit.
    void ShowLabColor(const Lab& lab);
    // All numbers 0, the picker without a colour.
    void Clear();
    // The colour as last converted (decimals kept, unlike the L*a*b* fields).
    Lab Current() const { return lab_; }
    // The picker's colour (0x00BBGGRR).
    std::uint32_t Swatch() const;
    // Converts a group that was typed into but not confirmed with Enter.
    void ApplyPendingEdit();

Q_SIGNALS:
    // The operator changed a field or picked a colour.
    void Edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Group { None, Lab, Xyz, Rgb, Cmyk };
    QGroupBox* BuildGroup(const char* heading, std::initializer_list<QAbstractSpinBox*> fields,
                          std::initializer_list<const char*> labels);
    QDoubleSpinBox* Number(const char* name, double lo, double hi, int decimals, Group group);
    QSpinBox* Channel(const char* name, Group group);
    void Watch(QAbstractSpinBox* field, Group group);
    void ApplyGroup(Group group);
    void Typed(QAbstractSpinBox* field, Group group);
    // The field's value when the operator typed into it, else the exact one.
    double Entered(const QDoubleSpinBox* field, double exact) const;

    QDoubleSpinBox *pbL_, *pba_, *pbb_, *pbx_, *pby_, *pbz_;
    QSpinBox *pbred_, *pbgreen_, *pbblue_;
    QDoubleSpinBox *pbcyan_, *pbmagenta_, *pbyellow_, *pbblack_;
    ColourPickerButton* picker_;
    Lab lab_;
    Group pending_ = Group::None;
    QSet<const QObject*> typed_;
    bool loading_ = false;
};

}  // namespace corvan
