#include "colour/ui/colourfields.h"

#include "colour/ui/colourpicker.h"
#include "platform/numbers.h"
#include "platform/ui/widgetnames.h"

#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace corvan {

namespace {

const char* const kGroupProperty = "colourGroup";

std::uint8_t Rounded8(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

ColourFields::ColourFields(QWidget* parent) : QWidget(parent) {
    pbL_ = Number("pbL", 0, 100, 0, Group::Lab);
    pba_ = Number("pba", -128, 128, 0, Group::Lab);
    pbb_ = Number("pbb", -128, 128, 0, Group::Lab);
    pbx_ = Number("pbx", 0, 200, 2, Group::Xyz);
    pby_ = Number("pby", 0, 200, 2, Group::Xyz);
    pbz_ = Number("pbz", 0, 200, 2, Group::Xyz);
    pbred_ = Channel("pbred", Group::Rgb);
    pbgreen_ = Channel("pbgreen", Group::Rgb);
    pbblue_ = Channel("pbblue", Group::Rgb);
    pbcyan_ = Number("pbcyan", 0, 100, 2, Group::Cmyk);
    pbmagenta_ = Number("pbmagenta", 0, 100, 2, Group::Cmyk);
    pbyellow_ = Number("pbyellow", 0, 100, 2, Group::Cmyk);
    pbblack_ = Number("pbblack", 0, 100, 2, Group::Cmyk);
    picker_ = Named(new ColourPickerButton(this), "ColorPickerButton1");

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(BuildGroup("L*a*b* (D50 Illuminant)", {pbL_, pba_, pbb_}, {"L*", "a*", "b*"}));
    v->addWidget(BuildGroup("CIE 2\u00B0 XYZ", {pbx_, pby_, pbz_}, {"X", "Y", "Z"}));
    auto* rgb = BuildGroup("CCIR Rec709", {pbred_, pbgreen_, pbblue_}, {"R", "G", "B"});
    v->addWidget(rgb);
    v->addWidget(BuildGroup("CMYK Separation", {pbcyan_, pbmagenta_, pbyellow_, pbblack_},
                            {"C", "M", "Y", "K"}));
    auto* pickRow = new QHBoxLayout;
    auto* pickLabel = new QLabel(QStringLiteral("&Color:"), this);
    pickLabel->setBuddy(picker_);
    pickRow->addWidget(pickLabel);
    pickRow->addWidget(picker_);
    pickRow->addStretch(1);
    v->addLayout(pickRow);

    connect(picker_, &ColourPickerButton::ColourPicked, this, [this](std::uint32_t colour) {
        if (loading_) return;
        pending_ = Group::None;
        ShowLabColor(RgbToLab(FromColourValue(colour)));
        Q_EMIT Edited();
    });
}

QDoubleSpinBox* ColourFields::Number(const char* name, double lo, double hi, int decimals,
                                     Group group) {
    auto* s = Named(new QDoubleSpinBox(this), name);
    s->setDecimals(decimals);
    s->setRange(lo, hi);
    s->setButtonSymbols(QAbstractSpinBox::NoButtons);
    s->setAlignment(Qt::AlignRight);
    Watch(s, group);
    connect(s, &QDoubleSpinBox::valueChanged, this, [this, s, group] { Typed(s, group); });
    return s;
}

QSpinBox* ColourFields::Channel(const char* name, Group group) {
    auto* s = Named(new QSpinBox(this), name);
    s->setRange(0, 255);
    s->setButtonSymbols(QAbstractSpinBox::NoButtons);
    s->setAlignment(Qt::AlignRight);
    Watch(s, group);
    connect(s, &QSpinBox::valueChanged, this, [this, s, group] { Typed(s, group); });
    return s;
}

void ColourFields::Watch(QAbstractSpinBox* field, Group group) {
    field->setProperty(kGroupProperty, static_cast<int>(group));
    field->installEventFilter(this);
    if (auto* edit = field->findChild<QLineEdit*>()) {
        edit->setProperty(kGroupProperty, static_cast<int>(group));
        edit->installEventFilter(this);
    }
}

QGroupBox* ColourFields::BuildGroup(const char* heading,
                                    std::initializer_list<QAbstractSpinBox*> fields,
                                    std::initializer_list<const char*> labels) {
    auto* box = new QGroupBox(QString::fromUtf8(heading), this);
    auto* row = new QHBoxLayout(box);
    auto label = labels.begin();
    for (QAbstractSpinBox* field : fields) {
        auto* l = new QLabel(QString::fromUtf8(*label++), box);
        l->setBuddy(field);
        row->addWidget(l);
        field->setParent(box);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-000.00")) +
                               12);
        row->addWidget(field, 1);
    }
    return box;
}

bool ColourFields::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* spin = qobject_cast<QAbstractSpinBox*>(watched))
                spin->interpretText();
            else if (auto* spinParent = qobject_cast<QAbstractSpinBox*>(watched->parent()))
                spinParent->interpretText();
            ApplyGroup(static_cast<Group>(watched->property(kGroupProperty).toInt()));
            return true;  // Enter confirms the group; it does not close the window
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ColourFields::Typed(QAbstractSpinBox* field, Group group) {
    if (loading_) return;
    typed_.insert(field);
    pending_ = group;
    Q_EMIT Edited();
}

void ColourFields::ApplyPendingEdit() {
    if (pending_ != Group::None) ApplyGroup(pending_);
}

double ColourFields::Entered(const QDoubleSpinBox* field, double exact) const {
    return typed_.contains(field) ? field->value() : exact;
}

void ColourFields::ApplyGroup(Group group) {
    pending_ = Group::None;
    // Fields left alone keep the exact value they show rounded.
    const Xyz xyz = LabToXyz(lab_);
    switch (group) {
        case Group::Lab:
            ShowLabColor({Entered(pbL_, lab_.L), Entered(pba_, lab_.a), Entered(pbb_, lab_.b)});
            break;
        case Group::Xyz:
            ShowLabColor(
                XyzToLab({Entered(pbx_, xyz.x * 100) / 100, Entered(pby_, xyz.y * 100) / 100,
                          Entered(pbz_, xyz.z * 100) / 100}));
            break;
        case Group::Rgb:
            ShowLabColor(RgbToLab({Rounded8(pbred_->value()), Rounded8(pbgreen_->value()),
                                   Rounded8(pbblue_->value())}));
            break;
        case Group::Cmyk:
            ShowLabColor(RgbToLab(CmykToRgb({pbcyan_->value() / 100, pbmagenta_->value() / 100,
                                             pbyellow_->value() / 100, pbblack_->value() / 100})));
            break;
        case Group::None:
            return;
    }
    Q_EMIT Edited();
}

void ColourFields::ShowLabColor(const Lab& lab) {
    const bool was = loading_;
    loading_ = true;
    typed_.clear();
    lab_ = lab;
    pbL_->setValue(lab.L);
    pba_->setValue(lab.a);
    pbb_->setValue(lab.b);
    const Xyz xyz = LabToXyz(lab);
    pbx_->setValue(xyz.x * 100);
    pby_->setValue(xyz.y * 100);
    pbz_->setValue(xyz.z * 100);
    const Rgb rgb = LabToRgb(lab);
    pbred_->setValue(rgb.r);
    pbgreen_->setValue(rgb.g);
    pbblue_->setValue(rgb.b);
    picker_->SetColour(ColourValue(rgb));
    const Cmyk cmyk = RgbToCmyk(rgb);
    pbcyan_->setValue(cmyk.c * 100);
    pbmagenta_->setValue(cmyk.m * 100);
    pbyellow_->setValue(cmyk.y * 100);
    pbblack_->setValue(cmyk.k * 100);
    loading_ = was;
}

void ColourFields::Clear() {
    const bool was = loading_;
    loading_ = true;
    lab_ = {};
    for (QDoubleSpinBox* s :
         {pbL_, pba_, pbb_, pbx_, pby_, pbz_, pbcyan_, pbmagenta_, pbyellow_, pbblack_})
        s->setValue(0);
    for (QSpinBox* s : {pbred_, pbgreen_, pbblue_}) s->setValue(0);
    picker_->SetNoColour();
    pending_ = Group::None;
    typed_.clear();
    loading_ = was;
}

std::uint32_t ColourFields::Swatch() const {
    return ColourValue(LabToRgb(lab_));
}

}  // namespace corvan
