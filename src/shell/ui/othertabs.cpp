#include "shell/ui/othertabs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <initializer_list>

namespace corvan {

namespace {

enum class Kind { Check, Button, Combo, List, Label, Edit, Number };

struct Control {
    Kind kind;
    const char* name;
    const char* caption;  // the row's caption for edits, lists and combos
    bool pending;         // no command behind it yet
};

struct Group {
    const char* title;
    std::initializer_list<Control> controls;
};

QWidget* Make(const Control& c, QWidget* parent) {
    const QString caption = QString::fromUtf8(c.caption);
    QWidget* w = nullptr;
    switch (c.kind) {
        case Kind::Check:
            w = new QCheckBox(caption, parent);
            break;
        case Kind::Button:
            w = new QPushButton(caption, parent);
            w->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
            w->setMinimumWidth(110);
            break;
        case Kind::Combo:
            w = new QComboBox(parent);
            break;
        case Kind::List: {
            auto* l = new QListWidget(parent);
            l->setMinimumHeight(90);
            w = l;
            break;
        }
        case Kind::Label:
            w = new QLabel(parent);
            break;
        case Kind::Edit:
            w = new QLineEdit(parent);
            break;
        case Kind::Number: {
            auto* s = new QSpinBox(parent);
            s->setRange(0, 9999);
            s->setMaximumWidth(110);
            w = s;
            break;
        }
    }
    w->setObjectName(QString::fromUtf8(c.name));
    return w;
}

QSet<QString>& Pending() {
    static QSet<QString> names;
    return names;
}

QWidget* BuildTab(QWidget* parent, const char* objectName, std::initializer_list<Group> groups) {
    auto* tab = new QWidget(parent);
    tab->setObjectName(QString::fromUtf8(objectName));
    auto* outer = new QVBoxLayout(tab);
    for (const Group& g : groups) {
        auto* box = new QGroupBox(QString::fromUtf8(g.title), tab);
        auto* form = new QFormLayout(box);
        for (const Control& c : g.controls) {
            QWidget* w = Make(c, tab);
            const bool captioned = c.kind != Kind::Check && c.kind != Kind::Button && *c.caption;
            if (captioned)
                form->addRow(QString::fromUtf8(c.caption), w);
            else
                form->addRow(QString(), w);
            if (c.pending) Pending().insert(w->objectName());
        }
        outer->addWidget(box);
    }
    outer->addStretch(1);
    return tab;
}

}  // namespace

QWidget* BuildContourCutTab(QWidget* parent) {
    return BuildTab(parent, "Tab_contourcut",
                    {{"Contour Cutting",
                      {{Kind::Check, "cCanCut", "Contour Cut", true},
                       {Kind::Label, "labelcutcolor", "Cut Color:", false},
                       {Kind::Check, "cLines", "Cut Lines", true},
                       {Kind::Check, "cFill", "Cut Fills", true},
                       {Kind::Check, "cPrintContours", "Print Contours", true},
                       {Kind::Check, "cBoxaroundTile", "Box around Tile", true},
                       {Kind::Check, "cDeviceCropmarks", "Device Cropmarks", true},
                       {Kind::List, "ColorCheckList", "Colors:", true},
                       {Kind::Button, "dautotrace", "Autotrace...", true},
                       {Kind::Button, "dcutfile", "Create Cutfile", true}}}});
}

QWidget* BuildDriverSelectionTab(QWidget* parent) {
    return BuildTab(parent, "tab_driverselection", {});
}

const QSet<QString>& PendingControls() {
    return Pending();
}

}  // namespace corvan
