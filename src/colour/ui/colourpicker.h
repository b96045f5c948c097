#pragma once
// A colour button with a drop-down of the 40 standard colours and an
// "Additional Colors" entry that opens the full colour dialog.
#include <QPushButton>

#include <cstdint>

namespace corvan {

class ColourPickerButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourPickerButton(QWidget* parent = nullptr);

    // Shows the colour without telling anyone (0x00BBGGRR).
    void SetColour(std::uint32_t colour);
    // The button face of the style: "no colour".
    void SetNoColour();
    std::uint32_t Colour() const { return colour_; }

Q_SIGNALS:
    // The operator chose a colour.
    void ColourPicked(std::uint32_t colour);

private:
    void Pick(std::uint32_t colour);
    void ChooseMore();
    void Paint(const QColor& c);

    std::uint32_t colour_ = 0;
};

}  // namespace corvan
