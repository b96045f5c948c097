#include "rip/ui/ripprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvan {

RipProgressWindow::RipProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fripprogress"));
    setWindowTitle(QStringLiteral("CorvanRIP SE"));
    setMinimumWidth(360);
    auto* v = new QVBoxLayout(this);
    text_ = new QLabel(QStringLiteral("RIP"), this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("dcancel"));
    connect(cancel, &QPushButton::clicked, this, [this, cancel] {
        cancelled_ = true;
        cancel->setEnabled(false);
    });
    v->addWidget(text_);
    v->addWidget(bar_);
    v->addWidget(cancel, 0, Qt::AlignRight);
}

void RipProgressWindow::Show(int stage, int percent, const QString& text) {
    if (!text.isEmpty()) text_->setText(text);
    bar_->setValue(stage == 2 ? 100 : percent);
    if (!isVisible()) show();
}

}  // namespace corvan
