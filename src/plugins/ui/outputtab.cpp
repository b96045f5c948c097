#include "plugins/ui/outputtab.h"

#include "job/emffile.h"
#include "job/jobreport.h"
#include "job/units.h"
#include "platform/commatext.h"
#include "platform/folders.h"
#include "platform/ui/icons.h"
#include "platform/ui/widgetnames.h"
#include "plugins/driverlist.h"
#include "plugins/plottersize.h"
#include "shell/appcore.h"
#include "shell/ui/helppopup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace corvan {

namespace {

QLabel* Picture(QWidget* parent, const char* name, const char* icon) {
    auto* l = Named(new QLabel(parent), name);
    l->setPixmap(ThemedIcon(QString::fromLatin1(icon)).pixmap(kMenuIconSize, kMenuIconSize));
    l->setFixedSize(22, 22);
    return l;
}

}  // namespace

OutputTab::OutputTab(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("tab_outputoptions"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(BuildPrinter());
    v->addWidget(BuildQueue());
    v->addWidget(BuildRipOptions());
    v->addStretch(1);
    // Only a developer switch: every refresh announces itself.
    Named(new QCheckBox(QStringLiteral("show update"), this), "CheckBox1")->hide();
    ShowOptionPictures();
}

QWidget* OutputTab::BuildPrinter() {
    auto* box = new QGroupBox(QStringLiteral("Select Printer:"), this);
    auto* v = new QVBoxLayout(box);
    comboPrinters_ = Named(new QComboBox(box), "comboPrinters");
    comboPrinters_->setIconSize(QSize(16, 16));
    comboPrinters_->setMinimumContentsLength(24);
    comboPrinters_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(comboPrinters_, qOverload<int>(&QComboBox::activated), this, &OutputTab::driverChosen);
    v->addWidget(comboPrinters_);
    label_pinfo_ = Named(new QLabel(box), "label_pinfo");
    label_pinfo1_ = Named(new QLabel(box), "label_pinfo1");
    for (QLabel* l : {label_pinfo_, label_pinfo1_}) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setWordWrap(true);
        v->addWidget(l);
    }
    auto* row = new QHBoxLayout;
    auto* update = Named(new QPushButton(QStringLiteral("&Update Drivers"), box), "dupdatedrivers");
    auto* options =
        Named(new QPushButton(QStringLiteral("Printer Op&tions..."), box), "dprinteroptions");
    connect(update, &QPushButton::clicked, this, &OutputTab::updateDriversRequested);
    connect(options, &QPushButton::clicked, this, &OutputTab::printerOptionsRequested);
    auto* download = Named(
        new QPushButton(QStringLiteral("Download a Driver from the Internet"), box), "ddownload");
    connect(download, &QPushButton::clicked, this, &OutputTab::downloadDriverRequested);
    row->addWidget(update);
    row->addWidget(options);
    row->addWidget(download);
    row->addStretch(1);
    v->addLayout(row);
    AddMoreInfo(box, app_.Ui(), "SpeedButton111", "Printer Options");
    return box;
}

QWidget* OutputTab::BuildQueue() {
    auto* box = new QGroupBox(
        QStringLiteral("Use the following Printer Driver to Spool Print Jobs:"), this);
    auto* h = new QHBoxLayout(box);
    combospooler_ = Named(new QComboBox(box), "combospooler");
    combospooler_->setMinimumContentsLength(16);
    combospooler_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(combospooler_, qOverload<int>(&QComboBox::activated), this, &OutputTab::queueChosen);
    auto* properties = Named(new QPushButton(QStringLiteral("P&roperties..."), box), "dproperties");
    connect(properties, &QPushButton::clicked, this, &OutputTab::propertiesRequested);
    h->addWidget(combospooler_, 1);
    h->addWidget(properties);
    return box;
}

QWidget* OutputTab::BuildRipOptions() {
    auto* box = new QGroupBox(QStringLiteral("Rip Options"), this);
    auto* form = new QFormLayout(box);
    auto pictured = [&](QWidget* control, QLabel* picture) {
        auto* h = new QHBoxLayout;
        h->addWidget(control);
        h->addStretch(1);
        h->addWidget(picture);
        form->addRow(h);
    };
    cDoRaster_ = Named(new QCheckBox(QStringLiteral("Print Ra&ster"), box), "cDoRaster");
    cDoVector_ = Named(new QCheckBox(QStringLiteral("Cut &Contours"), box), "cDoVector");
    cRiptoFile_ = Named(new QCheckBox(QStringLiteral("Rip to Fi&le"), box), "cRiptoFile");
    cDoRaster_->setChecked(true);
    cDoVector_->setChecked(true);
    imageRaster_ = Picture(box, "imageRaster", "image-x-generic");
    Imagevector_ = Picture(box, "Imagevector", "draw-bezier-curves");
    imagedisk_ = Picture(box, "imagedisk", "drive-harddisk");
    pictured(cDoRaster_, imageRaster_);
    pictured(cDoVector_, Imagevector_);
    pictured(cRiptoFile_, imagedisk_);
    FilenameEdit1_ = Named(new QLineEdit(box), "FilenameEdit1");
    FilenameEdit1_->setPlaceholderText(QStringLiteral("Output file"));
    QAction* browse = FilenameEdit1_->addAction(ThemedIcon(QStringLiteral("document-open")),
                                                QLineEdit::TrailingPosition);
    browse->setToolTip(QStringLiteral("Choose the output file"));
    connect(browse, &QAction::triggered, this, &OutputTab::BrowseOutputFile);
    form->addRow(FilenameEdit1_);
    for (QCheckBox* c : {cDoRaster_, cDoVector_, cRiptoFile_})
        connect(c, &QCheckBox::toggled, this, &OutputTab::ShowOptionPictures);

    auto* row = new QHBoxLayout;
    auto* fromFile =
        Named(new QPushButton(QStringLiteral("RIP From F&ile..."), box), "dripfromfile");
    auto* ripNow = Named(new QPushButton(QStringLiteral("RIP &Now"), box), "dripnow");
    ripNow->setDefault(true);
    ripNow->setMinimumHeight(34);
    ripNow->setIcon(ThemedIcon(QStringLiteral("media-playback-start")));
    connect(fromFile, &QPushButton::clicked, this, &OutputTab::ripFromFileRequested);
    connect(ripNow, &QPushButton::clicked, this, &OutputTab::ripNowRequested);
    row->addWidget(fromFile);
    row->addStretch(1);
    row->addWidget(ripNow);
    form->addRow(row);
    AddMoreInfo(box, app_.Ui(), "SpeedButton112", "Rip Options");
    return box;
}

void OutputTab::ShowOptionPictures() {
    imageRaster_->setVisible(cDoRaster_->isChecked());
    Imagevector_->setVisible(cDoVector_->isChecked() && cDoVector_->isEnabled());
    imagedisk_->setVisible(cRiptoFile_->isChecked());
    FilenameEdit1_->setEnabled(cRiptoFile_->isChecked());
}

void OutputTab::BrowseOutputFile() {
    const QString file =
        QFileDialog::getSaveFileName(this, QStringLiteral("Rip to File"), FilenameEdit1_->text(),
                                     QStringLiteral("Print Files (PRN) (*.prn);;All Files (*)"));
    if (!file.isEmpty()) FilenameEdit1_->setText(file);
}

void OutputTab::FillDrivers(const DriverList& list, int index) {
    const QSignalBlocker block(comboPrinters_);
    comboPrinters_->clear();
    const QIcon driverIcon = ThemedIcon(QStringLiteral("printer"));
    const QIcon systemIcon = ThemedIcon(QStringLiteral("computer"));
    for (const std::string& line : list.Lines) {
        const std::vector<std::string> f = SplitCommaText(line);
        const bool system = f.size() >= 2 && f[1] == kStoredSystemPrinterName;
        const QString text = system ? QString::fromUtf8(kSystemPrinterLabel)
                                    : QString::fromStdString(f.size() >= 2 ? f[1] : line);
        comboPrinters_->addItem(system ? systemIcon : driverIcon, text,
                                QString::fromStdString(line));
        const QString hint = system ? QStringLiteral("Prints through the CUPS printer chosen below")
                                    : QString::fromStdString(f.size() >= 3 ? f[2] : std::string());
        if (!hint.isEmpty())
            comboPrinters_->setItemData(comboPrinters_->count() - 1, hint, Qt::ToolTipRole);
    }
    comboPrinters_->setCurrentIndex(index);
}

void OutputTab::FillQueues(const std::vector<std::string>& names) {
    const QSignalBlocker block(combospooler_);
    combospooler_->clear();
    for (const std::string& n : names) combospooler_->addItem(QString::fromStdString(n));
}

void OutputTab::ShowDevice(const TemfPlotter& dev) {
    const QSignalBlocker a(combospooler_), b(cRiptoFile_);
    combospooler_->setCurrentIndex(dev.QueueIndex < combospooler_->count() ? dev.QueueIndex : -1);
    FilenameEdit1_->setText(QString::fromStdString(dev.OutputFile));
    cRiptoFile_->setChecked(!dev.OutputFile.empty() && FileExists(dev.OutputFile));
    label_pinfo_->setText(QString::fromStdString(dev.PrinterName + "  " + dev.PrinterDescription));
    label_pinfo1_->setText(QString::fromStdString(DriverInfoText2(dev, app_.UseMetric)));
    ShowOptionPictures();
}

void OutputTab::StoreOutputOptions() {
    OutputOptions& out = app_.Output;
    out.DoRaster = cDoRaster_->isChecked();
    out.DoVector = cDoVector_->isChecked();
    out.VectorEnabled = cDoVector_->isEnabled();
    out.RipToFile = cRiptoFile_->isChecked();
    out.FileName = FilenameEdit1_->text().toStdString();
    out.QueueText = combospooler_->currentText().toStdString();
}

}  // namespace corvan
