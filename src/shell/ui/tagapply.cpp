#include "shell/ui/tagapply.h"

#include "shell/statebits.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFormLayout>
#include <QPalette>
#include <QWidget>

namespace corvan {

namespace {

// A list drawn in the window colour when usable and button face when not.
void ColourList(QWidget* w, bool enabled) {
    auto* list = qobject_cast<QAbstractItemView*>(w);
    if (!list) return;
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, enabled ? QColor(Qt::white) : pal.color(QPalette::Button));
    list->setPalette(pal);
}

void Apply(QObject* obj, const TagEffect& e, bool forceDisabled) {
    const bool enabled = e.ok && !forceDisabled;
    if (auto* a = qobject_cast<QAction*>(obj)) {
        if (e.setsEnabled) a->setEnabled(enabled);
        if (e.setsVisible) a->setVisible(e.ok);
    } else if (auto* w = qobject_cast<QWidget*>(obj)) {
        if (e.setsEnabled) {
            w->setEnabled(enabled);
            ColourList(w, enabled);
        }
        // Hidden pages keep their children's own visibility.
        if (e.setsVisible) w->setVisible(e.ok);
    }
}

}  // namespace

int ApplyTagTable(QObject* root, std::uint32_t bits, const QSet<QString>& unavailable) {
    int matched = 0;
    for (const TagEntry& t : MainWindowTags()) {
        const QString name =
            QString::fromUtf8(t.component.data(), static_cast<qsizetype>(t.component.size()));
        const auto found = root->findChildren<QObject*>(name);
        for (QObject* obj : found) Apply(obj, EvaluateTag(t.tag, bits), unavailable.contains(name));
        if (!found.isEmpty()) ++matched;
    }
    return matched;
}

void SyncFormCaptions(QObject* root) {
    for (QFormLayout* form : root->findChildren<QFormLayout*>()) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
            QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
            if (label && label->widget() && field && field->widget())
                label->widget()->setVisible(!field->widget()->isHidden());
        }
    }
}

}  // namespace corvan
