#include "shell/ui/helppopup.h"

#include "platform/userinterface.h"
#include "shell/helptopics.h"
#include "shell/ui/helpmanual.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace corvan {

THelpPopup::THelpPopup(UserInterface& ui, const std::string& topic, QWidget* parent)
    : QDialog(parent, Qt::Tool), ui_(ui) {
    setObjectName(QStringLiteral("fhelppopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(315, 308);
    setStyleSheet(QStringLiteral("QDialog, QTextBrowser { background: #ffffe1; }"));
    const auto t = LoadHelpTopic(topic);
    found_ = t.has_value();
    if (!t) return;
    pdf_ = t->pdf;
    setWindowTitle(QString::fromStdString(t->title + "  [" + topic + "]"));
    auto* v = new QVBoxLayout(this);
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("helptext"));
    QString html;
    for (const std::string& line : t->text)
        html += QStringLiteral("<p>") + QString::fromStdString(line).toHtmlEscaped() + "</p>";
    text->setHtml(html);
    text->moveCursor(QTextCursor::Start);
    v->addWidget(text, 1);
    auto* shortcut = new QLabel(QString::fromStdString(t->key), this);
    shortcut->setObjectName(QStringLiteral("label_Shortcut"));
    v->addWidget(shortcut);
    auto* more = new QPushButton(QStringLiteral("More Information"), this);
    more->setObjectName(QStringLiteral("dPDFhelp"));
    const auto page = ManualPageOf(pdf_);
    more->setEnabled(!pdf_.empty());
    connect(more, &QPushButton::clicked, this, [this, page] {
        if (page) OpenManualPage(ui_, *page);
    });
    v->addWidget(more, 0, Qt::AlignRight);
}

void THelpPopup::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Gone as soon as the operator works elsewhere.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible()) close();
}

void ShowHelpTopic(QWidget* control, UserInterface& ui, const std::string& topic) {
    auto* popup = new THelpPopup(ui, topic, control ? control->window() : nullptr);
    if (!popup->Found()) {
        delete popup;
        ui.ShowPlain(topic + " not found!");
        return;
    }
    if (control) {
        const QPoint topRight = control->mapToGlobal(QPoint(control->width(), 0));
        popup->move(topRight.x() - popup->width(), topRight.y());
    }
    popup->show();
    popup->activateWindow();
}

QPushButton* MoreInfoButton(QWidget* parent, UserInterface& ui, const char* objectName,
                            const char* topic) {
    auto* b = new QPushButton(QStringLiteral("More Info..."), parent);
    b->setObjectName(QString::fromUtf8(objectName));
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);  // a small button, not a bar
    QObject::connect(b, &QPushButton::clicked, b,
                     [b, &ui, topic = std::string(topic)] { ShowHelpTopic(b, ui, topic); });
    return b;
}

void AddMoreInfo(QGroupBox* box, UserInterface& ui, const char* objectName, const char* topic) {
    QPushButton* b = MoreInfoButton(box, ui, objectName, topic);
    if (auto* form = qobject_cast<QFormLayout*>(box->layout())) {
        form->addRow(QString(), b);
    } else if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addWidget(b, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()),
                        Qt::AlignRight);
    } else if (auto* line = qobject_cast<QBoxLayout*>(box->layout())) {
        line->addWidget(b, 0, Qt::AlignRight);
    }
}

}  // namespace corvan
