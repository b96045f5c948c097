#include "display/ui/emfshow.h"

#include "colour/ui/colourpicker.h"
#include "display/layerpreview.h"
#include "platform/ui/widgetnames.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace corvan {

TFemfShow::TFemfShow(const QStringList& files, int index, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFemfShow"));
    setWindowTitle(QStringLiteral("Layer Preview"));
    setSizeGripEnabled(true);
    setMinimumSize(345, 403);
    resize(420, 460);

    ColorPickerButton1_ = Named(new ColourPickerButton(this), "ColorPickerButton1");
    ColorPickerButton1_->setText(QStringLiteral("Background Color"));
    ComboBox1_ = Named(new QComboBox(this), "ComboBox1");
    // The names fit the box; the whole path is the item's hint and shows in
    // the status bar.
    for (const QString& file : files) {
        ComboBox1_->addItem(QFileInfo(file).fileName(), file);
        ComboBox1_->setItemData(ComboBox1_->count() - 1, file, Qt::ToolTipRole);
    }
    ComboBox1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1_->setMinimumContentsLength(12);
    Shape1_ = Named(new QFrame(this), "Shape1");
    Shape1_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Shape1_->setAutoFillBackground(true);
    Shape1_->setFrameShape(QFrame::Box);
    Image1_ = Named(new QLabel(Shape1_), "Image1");
    // Draws nothing itself: its first paint tells that the window is up.
    PaintBox1_ = Named(new QWidget(Shape1_), "PaintBox1");
    PaintBox1_->setGeometry(0, 0, 1, 1);
    PaintBox1_->installEventFilter(this);
    Shape1_->installEventFilter(this);
    status_ = Named(new QStatusBar(this), "StatusBar1");
    status_->setSizeGripEnabled(false);
    auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "Button1");
    ok->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(ColorPickerButton1_);
    top->addWidget(ComboBox1_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Shape1_, 1);
    layout->addLayout(bottom);
    layout->addWidget(status_);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(ColorPickerButton1_, &ColourPickerButton::ColourPicked, this,
            &TFemfShow::SetBackground);
    connect(ComboBox1_, qOverload<int>(&QComboBox::activated), this, &TFemfShow::LayerChosen);
    ComboBox1_->setCurrentIndex(index);
    if (index >= 0 && index < files.size()) fileName_ = files[index];
    SetBackground(0xFFFFFF);
}

TFemfShow::~TFemfShow() = default;

int TFemfShow::ShownIndex() const {
    return ComboBox1_->currentIndex();
}

void TFemfShow::SetBackground(Colour colour) {
    background_ = colour & 0xFFFFFF;
    ColorPickerButton1_->SetColour(background_);
    QPalette pal = Shape1_->palette();
    pal.setColor(QPalette::Window, ToQColor(background_));
    Shape1_->setPalette(pal);
    if (rendered_) RenderLayerPreview();
}

void TFemfShow::LayerChosen(int index) {
    fileName_ = ComboBox1_->itemData(index).toString();
    RenderLayerPreview();
}

void TFemfShow::RenderLayerPreview() {
    rendered_ = true;
    renderPending_ = false;
    const std::string file = fileName_.toStdString();
    status_->showMessage(fileName_);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto image =
        corvan::RenderLayerPreview(file, Shape1_->width(), Shape1_->height(), background_);
    QApplication::restoreOverrideCursor();
    if (!image) {
        Image1_->clear();
        Image1_->hide();
        return;
    }
    const int w = image->Width(), h = image->Height();
    Image1_->setPixmap(QPixmap::fromImage(image->View()));
    Image1_->setGeometry((Shape1_->width() - w) / 2, (Shape1_->height() - h) / 2, w, h);
    Image1_->show();
}

void TFemfShow::ScheduleRender() {
    Image1_->clear();
    if (renderPending_) return;
    renderPending_ = true;
    // Once the window has repainted at its new size.
    QTimer::singleShot(0, this, [this] {
        if (renderPending_) RenderLayerPreview();
    });
}

bool TFemfShow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PaintBox1_ && event->type() == QEvent::Paint && !rendered_) {
        PaintBox1_->hide();
        ScheduleRender();
    } else if (watched == Shape1_ && event->type() == QEvent::Resize && rendered_) {
        ScheduleRender();
    }
    return QDialog::eventFilter(watched, event);
}

void TFemfShow::done(int result) {
    Image1_->clear();
    QDialog::done(result);
}

int ShowLayerPreview(QWidget* parent, const QStringList& files, int index) {
    TFemfShow dlg(files, index, parent);
    dlg.exec();
    return dlg.ShownIndex();
}

}  // namespace corvan
