#include "display/ui/saveflatten.h"

#include "platform/paths.h"
#include "platform/preferences.h"
#include "platform/ui/widgetnames.h"
#include "platform/userinterface.h"
#include "raster/transforms.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace corvan {
namespace {

constexpr double kAskAbove = 9'000'000;     // pixels: a very large picture asks first
constexpr double kHoldLimit = 40'000'000;   // pixels: larger ones are written from the job
constexpr double kShownPixels = 2'000'000;  // pixels of the reduced picture shown for those
const char* const kPresets[] = {"Custom",   "640x480",   "800x600",   "1024x768",
                                "1152x864", "1280x1024", "1600x1200", "2000x2000"};

QString Grouped(double v, int decimals) {
    return QLocale(QLocale::English).toString(v, 'f', decimals);
}

// What the picture looks like at the chosen depth, for the view and the clipboard.
QImage Converted(const Bitmap24& image, SinkPixels pixels) {
    if (pixels == SinkPixels::Colour) return image.View().copy();
    QImage out(image.Width(), image.Height(), QImage::Format_Grayscale8);
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* s = image.Row(y);
        std::uint8_t* d = out.scanLine(y);
        for (int x = 0; x < image.Width(); ++x, s += 3) {
            const bool white = s[0] == 255 && s[1] == 255 && s[2] == 255;
            d[x] = static_cast<std::uint8_t>(pixels == SinkPixels::Grey
                                                 ? (38 * s[2] + 76 * s[1] + 14 * s[0]) >> 7
                                                 : (white ? 255 : 0));
        }
    }
    return pixels == SinkPixels::Mono ? out.convertToFormat(QImage::Format_Mono) : out;
}

std::string WithExtension(const std::string& path, bool jpegChosen) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    for (const char* known : {"jpg", "jpeg", "bmp", "png", "tif", "tiff"})
        if (suffix == QLatin1String(known)) return path;
    return path + (jpegChosen ? ".jpg" : ".bmp");
}

}  // namespace

Tfsaveflatten::Tfsaveflatten(const TemfFile& job, UserInterface& ui, QWidget* parent)
    : QDialog(parent), job_(job), ui_(ui) {
    setObjectName(QStringLiteral("Tfsaveflatten"));
    setWindowTitle(QStringLiteral("Save Flattened Bitmap"));
    BuildControls();
    size_->setCurrentIndex(2);  // "800x600"
    PresetChosen(2);
    resize(900, 600);
}

Tfsaveflatten::~Tfsaveflatten() {
    WritePrefBool("flatten_antialias", antialias_->isChecked());
    WritePrefBool("flatten_jpeg", jpeg_->isChecked());
    WritePrefBool("flatten_websafe", webSafe_->isChecked());
}

void Tfsaveflatten::BuildControls() {
    auto* root = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    auto* sizeBox = new QGroupBox(QStringLiteral("Size"), this);
    auto* form = new QFormLayout(sizeBox);
    size_ = Named(new QComboBox(sizeBox), "comboSize");
    for (const char* p : kPresets) size_->addItem(QString::fromUtf8(p));
    dpi_ = Named(new QDoubleSpinBox(sizeBox), "rxdpi");
    dpi_->setRange(0.001, 10000);
    dpi_->setDecimals(3);
    dpi_->setKeyboardTracking(false);
    width_ = Named(new QSpinBox(sizeBox), "rxwidth");
    height_ = Named(new QSpinBox(sizeBox), "rxheight");
    for (QSpinBox* s : {width_, height_}) {
        s->setRange(0, 1'000'000);
        s->setKeyboardTracking(false);
    }
    bytes_ = Named(new QLabel(sizeBox), "labelDPI");
    form->addRow(QStringLiteral("Target Size:"), size_);
    form->addRow(QStringLiteral("Render DPI:"), dpi_);
    form->addRow(QStringLiteral("Pixel Width:"), width_);
    form->addRow(QStringLiteral("Pixel Height:"), height_);
    form->addRow(QStringLiteral("Uncompressed Size:"), bytes_);
    side->addWidget(sizeBox);

    auto* colourBox = new QGroupBox(QStringLiteral("Color Options"), this);
    auto* cv = new QVBoxLayout(colourBox);
    colour_ =
        Named(new QRadioButton(QStringLiteral("Full Color (24bit)"), colourBox), "RadioButton1");
    grey_ = Named(new QRadioButton(QStringLiteral("Gray Scale (8bit)"), colourBox), "RadioButton2");
    mono_ = Named(new QRadioButton(QStringLiteral("Monochrome (BW)"), colourBox), "RadioButton3");
    colour_->setChecked(true);
    for (QRadioButton* r : {colour_, grey_, mono_}) {
        cv->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this] {
            UpdateSizes(dpi_->value());
            ShowImage();
        });
    }
    side->addWidget(colourBox);

    auto* saveBox = new QGroupBox(QStringLiteral("Save Options"), this);
    auto* sv = new QVBoxLayout(saveBox);
    antialias_ =
        Named(new QCheckBox(QStringLiteral("Anti-Aliase (High Quality)"), saveBox), "CheckBox1");
    jpeg_ = Named(new QCheckBox(QStringLiteral("Save image as JPEG"), saveBox), "CheckBox2");
    webSafe_ = Named(new QCheckBox(QStringLiteral("Web Safe Filenames."), saveBox), "CheckBox3");
    antialias_->setChecked(ReadPrefBool("flatten_antialias", false));
    jpeg_->setChecked(ReadPrefBool("flatten_jpeg", true));
    webSafe_->setChecked(ReadPrefBool("flatten_websafe", false));
    sv->addWidget(antialias_);
    sv->addWidget(jpeg_);
    sv->addWidget(new QLabel(QStringLiteral("(smaller file size)"), saveBox));
    sv->addWidget(webSafe_);
    side->addWidget(saveBox);
    side->addStretch();

    auto* create = Named(new QPushButton(QStringLiteral("Create"), this), "Button4");
    copy_ = Named(new QPushButton(QStringLiteral("Copy to Clipboard"), this), "dcopy");
    auto* buttons = new QDialogButtonBox(this);
    accept_ = buttons->addButton(QStringLiteral("Accept"), QDialogButtonBox::AcceptRole);
    accept_->setObjectName(QStringLiteral("Button1"));
    buttons->addButton(QDialogButtonBox::Cancel);
    accept_->setEnabled(false);
    copy_->setEnabled(false);
    side->addWidget(create);
    side->addWidget(copy_);
    side->addWidget(buttons);
    root->addLayout(side);

    auto* scroll = new QScrollArea(this);
    picture_ = Named(new QLabel(scroll), "Image1");
    picture_->setAlignment(Qt::AlignCenter);
    scroll->setWidget(picture_);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(480);
    root->addWidget(scroll, 1);

    connect(size_, qOverload<int>(&QComboBox::activated), this, &Tfsaveflatten::PresetChosen);
    connect(dpi_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (updating_) return;
        size_->setCurrentIndex(0);
        UpdateSizes(v);
    });
    connect(width_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int w) {
        const float cw = job_.CropRight - job_.CropLeft;
        if (!updating_ && cw > 0) UpdateSizes(w * 25.4 / cw);
    });
    connect(height_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int h) {
        const float ch = job_.CropBottom - job_.CropTop;
        if (!updating_ && ch > 0) UpdateSizes(h * 25.4 / ch);
    });
    connect(create, &QPushButton::clicked, this, [this] { Create(); });
    connect(copy_, &QPushButton::clicked, this, &Tfsaveflatten::CopyToClipboard);
    connect(buttons, &QDialogButtonBox::accepted, this, &Tfsaveflatten::AcceptClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

SinkPixels Tfsaveflatten::Pixels() const {
    return grey_->isChecked()   ? SinkPixels::Grey
           : mono_->isChecked() ? SinkPixels::Mono
                                : SinkPixels::Colour;
}

void Tfsaveflatten::UpdateSizes(double dpi) {
    dpi = std::max(dpi, 0.01);
    const FlattenSize s = FlattenSizeFor(job_, dpi, Pixels());
    bytes_->setText(QStringLiteral("%1 Bytes (%2 MB)")
                        .arg(Grouped(s.bytes, 0), Grouped(s.bytes / 1048576.0, 2)));
    const bool was = updating_;
    updating_ = true;
    dpi_->setValue(dpi);
    width_->setValue(s.width);
    height_->setValue(s.height);
    updating_ = was;
}

void Tfsaveflatten::PresetChosen(int index) {
    if (index <= 0) return;
    const QStringList wh = size_->itemText(index).split(QLatin1Char('x'));
    UpdateSizes(PresetDpi(job_, wh.value(0).toInt(), wh.value(1).toInt()));
}

bool Tfsaveflatten::Create() {
    const double dpi = static_cast<float>(dpi_->value());
    const FlattenSize s = FlattenSizeFor(job_, dpi, SinkPixels::Colour);
    const double pixels = static_cast<double>(s.width) * s.height;
    if (pixels > kAskAbove &&
        ui_.Message(MessageKind::Warning,
                    QStringLiteral("Warning... You are attempting to create a very large image: \r"
                                   "%1 x %2 pixels which will require upto %3 Mb to create.\r\r"
                                   "If you continue, the system may crash. Do you still wish to "
                                   "continue?")
                        .arg(s.width)
                        .arg(s.height)
                        .arg(Grouped(pixels * 6 / 1048576.0, 0))
                        .toStdString(),
                    YesNo) != ButtonYes)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    streamed_ = pixels > kHoldLimit;
    // A picture too large to hold is shown reduced; saving renders it again.
    const double shownDpi = streamed_ ? dpi * std::sqrt(kShownPixels / pixels) : dpi;
    auto image = FlattenRenderer(job_, shownDpi, antialias_->isChecked()).Render();
    QApplication::restoreOverrideCursor();
    if (!image) return false;  // the previous picture stays
    image_ = std::move(image);
    madeDpi_ = dpi;
    madePixels_ = Pixels();
    ShowImage();
    accept_->setEnabled(true);
    copy_->setEnabled(!streamed_);
    return true;
}

void Tfsaveflatten::ShowImage() {
    if (!image_) return;
    picture_->setPixmap(QPixmap::fromImage(Converted(*image_, Pixels())));
}

void Tfsaveflatten::CopyToClipboard() {
    if (image_ && !streamed_) QApplication::clipboard()->setImage(Converted(*image_, Pixels()));
}

std::string Tfsaveflatten::SaveTo(const std::string& chosen) {
    std::string path = webSafe_->isChecked() ? WebSafeFileName(chosen) : chosen;
    path = WithExtension(path, jpeg_->isChecked());
    std::string error;
    bool ok = false;
    if (streamed_) {
        ui_.Progress(0, 0, "Saving " + path);
        ok = ExportFlattened(job_, path, madeDpi_, Pixels(), antialias_->isChecked(), error,
                             [this](int percent) {
                                 ui_.Progress(1, percent, {});
                                 ui_.ProcessMessages();
                                 return !ui_.CancelRequested();
                             });
        ui_.Progress(2, 100, {});
    } else if (image_) {
        ok = SaveFlattened(*image_, path, madeDpi_, Pixels(), error);
    }
    if (!ok) {
        ui_.ShowError("Could not save " + path + ":\r" + error);
        return {};
    }
    return path;
}

void Tfsaveflatten::AcceptClicked() {
    QApplication::beep();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = "Save Flattened";
    request.initialDir = ReadPath("ImageDir");
    const std::string bmp = "Windows Bitmap  (*.bmp)|*.bmp", jpg = "JPEG Image File (*.jpg)|*.jpg";
    request.filter = (jpeg_->isChecked() ? jpg + "|" + bmp : bmp + "|" + jpg) +
                     "|PNG Image (*.png)|*.png|TIFF Image (*.tif)|*.tif";
    request.defaultExt = jpeg_->isChecked() ? "jpg" : "bmp";
    const auto chosen = ui_.ChooseFile(request);
    if (!chosen) return;
    SaveTo(*chosen);
    QApplication::beep();
    accept();  // closes after a failed save too, as the message has told why
}

void SaveFlattenedCommand(const TemfFile* job, UserInterface& ui, QWidget* parent) {
    if (!job) return;
    Tfsaveflatten dialog(*job, ui, parent);
    dialog.exec();
}

}  // namespace corvan
