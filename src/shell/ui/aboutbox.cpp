#include "shell/ui/aboutbox.h"

#include "shell/ui/appicon.h"
#include "ui_aboutbox.h"

namespace corvan {

Tfabout::Tfabout(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::Tfabout>()) {
    ui_->setupUi(this);
    ui_->Image1->setPixmap(AppIcon(96));
    ui_->labelBuild->setText(QStringLiteral("Build %1").arg(QStringLiteral(CORVAN_VERSION)));
    setFixedSize(sizeHint());
}

Tfabout::~Tfabout() = default;

void ShowAboutBox(QWidget* parent) {
    Tfabout box(parent);
    box.exec();
}

}  // namespace corvan
