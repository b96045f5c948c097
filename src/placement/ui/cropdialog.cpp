#include "placement/ui/cropdialog.h"

#include "job/jobsession.h"
#include "job/units.h"
#include "placement/ui/mmnumedit.h"
#include "placement/ui/tilepreview.h"
#include "platform/ui/widgetnames.h"
#include "platform/userinterface.h"
#include "shell/ui/helppopup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cmath>

namespace corvan {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

TmmNumEdit* LengthEdit(QWidget* parent, const char* name, bool metric) {
    auto* e = Named(new TmmNumEdit(parent), name);
    e->applyUnits(metric);
    e->setMaximumWidth(110);
    return e;
}

QPushButton* PushButton(QWidget* parent, const char* name, const QString& text,
                        const QString& hint = {}) {
    auto* b = Named(new QPushButton(text, parent), name);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

// The tile number as the strip composer prints it: a text path filled white
// and outlined black (reversed: the other way round), drawn at double size
// and halved.
QPixmap TileNumberExample(bool reversed, bool thick, int height) {
    QImage big(2 * 2 * height, 2 * height, QImage::Format_RGB32);
    big.fill(Qt::white);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(2 * height);
    QPainterPath path;
    path.addText(QPointF(4, 2 * height - QFontMetrics(font).descent()), font, QStringLiteral("2."));
    p.setPen(QPen(reversed ? Qt::white : Qt::black, 2.0 * (thick ? 2 : 1)));
    p.setBrush(reversed ? Qt::black : Qt::white);
    p.drawPath(path);
    p.end();
    return QPixmap::fromImage(
        big.scaled(big.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

TFcrop::TFcrop(UserInterface& ui, const CropDialogRequest& request, QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      request_(request),
      editor_(ui, request.block, request.pageWidth, request.pageHeight, request.limits,
              ReadTileMaximum(), request.metric) {
    setObjectName(QStringLiteral("TFcrop"));
    setWindowTitle(QStringLiteral("Crop Selection (Billboard Tiles)"));
    auto* root = new QVBoxLayout(this);
    root->setMenuBar(BuildMenu());

    auto* split = Named(new QSplitter(Qt::Vertical, this), "Splitter1");
    preview_ = Named(new TilePreview(editor_, request.preview, split), "PaintBox1");
    split->addWidget(preview_);
    split->addWidget(BuildListBox());
    split->setStretchFactor(0, 1);
    split->setSizes({470, 160});
    auto* body = new QHBoxLayout;
    body->addWidget(split, 1);
    body->addWidget(BuildSide());
    root->addLayout(body, 1);

    auto* buttons = new QDialogButtonBox(this);
    Named(buttons->addButton(QStringLiteral("Accept"), QDialogButtonBox::AcceptRole), "Button1");
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFcrop::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    root->addWidget(buttons);

    status_ = Named(new QStatusBar(this), "StatusBar1");
    status_->setSizeGripEnabled(false);
    statusPos_ = new QLabel(status_);
    statusTile_ = new QLabel(status_);
    statusGrid_ = new QLabel(status_);
    status_->addWidget(statusPos_, 1);
    status_->addWidget(statusTile_, 1);
    status_->addWidget(statusGrid_, 2);
    root->addWidget(status_);

    Connect();
    // The marks of the saved project belong to the grid the job was saved with.
    editor_.RememberProject(request.projectFile);
    editor_.UpdateAll();
    editor_.CreateTileList();
    Refresh();
    resize(1180, 700);
}

QMenuBar* TFcrop::BuildMenu() {
    auto* bar = new QMenuBar(this);
    menu_ = bar->addMenu(QStringLiteral("&Tiles"));
    QAction* clear = menu_->addAction(QStringLiteral("Clear Printed Status"));
    connect(clear, &QAction::triggered, this, [this] {
        editor_.ClearPrinted();
        Refresh();
    });
    QAction* reload = menu_->addAction(QStringLiteral("Reload Printed Status"));
    connect(reload, &QAction::triggered, this, [this] {
        editor_.CreateTileList();
        Refresh();
    });
    maximumAction_ = menu_->addAction(QString());
    connect(maximumAction_, &QAction::triggered, this, &TFcrop::AskMaximum);
    QAction* sheet = menu_->addAction(QStringLiteral("Print Sheet"));
    connect(sheet, &QAction::triggered, this, &TFcrop::PrintSheet);
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("Close")), &QAction::triggered, this, &QDialog::reject);
    return bar;
}

QWidget* TFcrop::BuildSide() {
    auto* side = new QWidget(this);
    auto* grid = new QGridLayout(side);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* mode = new QGroupBox(QStringLiteral("Mode"), side);
    auto* modeLayout = new QVBoxLayout(mode);
    single_ = Named(new QRadioButton(QStringLiteral("Single Tile"), mode), "rsingle");
    multi_ = Named(new QRadioButton(QStringLiteral("Multiple Tiles"), mode), "cmultitiles");
    multi_->setToolTip(QStringLiteral("Multiple Tiles On/Off"));
    modeLayout->addWidget(single_);
    modeLayout->addWidget(multi_);
    auto* autoTile = PushButton(mode, "dautotile", QStringLiteral("Billboard"),
                                QStringLiteral("Create tiles based on Media Size"));
    connect(autoTile, &QPushButton::clicked, this, [this] {
        editor_.AutoTile();
        Refresh();
    });
    modeLayout->addWidget(autoTile);
    AddMoreInfo(mode, ui_, "dinfotiles", "Tile Properties");
    grid->addWidget(mode, 0, 0);
    grid->addWidget(BuildCropBox(), 1, 0);
    grid->addWidget(BuildTileBox(), 2, 0, 2, 1);
    grid->addWidget(BuildMediaBox(), 0, 1, 2, 1);
    grid->addWidget(BuildNumberBox(), 2, 1);

    auto* info = new QGroupBox(QStringLiteral("Size"), side);
    auto* form = new QFormLayout(info);
    croppedSize_ = Named(new QLabel(info), "label_croppedsize");
    docSize_ = Named(new QLabel(info), "label_docsize");
    cropPercent_ = Named(new QLabel(info), "label_croppercent");
    fits_ = Named(new QLabel(info), "Image1");
    form->addRow(QStringLiteral("Cropped:"), croppedSize_);
    form->addRow(QStringLiteral("Document:"), docSize_);
    form->addRow(QStringLiteral("Percent:"), cropPercent_);
    form->addRow(fits_);
    grid->addWidget(info, 3, 1);
    grid->setRowStretch(4, 1);
    return side;
}

QWidget* TFcrop::BuildCropBox() {
    auto* box = new QGroupBox(QStringLiteral("Crop Area"), this);
    auto* g = new QGridLayout(box);
    const char* names[4] = {"mmleft", "mmtop", "mmright", "mmbottom"};
    const char* labels[4] = {"Left:", "Top:", "Right:", "Bottom:"};
    for (int i = 0; i < 4; ++i) {
        cropEdits_[i] = LengthEdit(box, names[i], request_.metric);
        g->addWidget(new QLabel(QString::fromUtf8(labels[i]), box), i / 2, (i % 2) * 2);
        g->addWidget(cropEdits_[i], i / 2, (i % 2) * 2 + 1);
    }
    fullCrop_ = PushButton(box, "dfullcrop", QStringLiteral("Reset Cropping Area"));
    g->addWidget(fullCrop_, 2, 0, 1, 4);
    AddMoreInfo(box, ui_, "dinfocrop", "Single Tiles");
    return box;
}

QWidget* TFcrop::BuildTileBox() {
    auto* box = new QGroupBox(QStringLiteral("Tile Size"), this);
    auto* g = new QGridLayout(box);
    tileW_ = LengthEdit(box, "mmtw", request_.metric);
    tileH_ = LengthEdit(box, "mmth", request_.metric);
    bleedX_ = LengthEdit(box, "mmxb", request_.metric);
    bleedY_ = LengthEdit(box, "mmyb", request_.metric);
    sepBleed_ = Named(new QCheckBox(QStringLiteral("Separate Bleed"), box), "csepBleed");
    g->addWidget(new QLabel(QStringLiteral("Width:"), box), 0, 0);
    g->addWidget(tileW_, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Height:"), box), 1, 0);
    g->addWidget(tileH_, 1, 1);
    spaceH_ = PushButton(box, "dspaceH", QStringLiteral("="), QStringLiteral("Equally distribute"));
    spaceV_ = PushButton(box, "dspaceV", QStringLiteral("="), QStringLiteral("Equally distribute"));
    spaceH_->setMaximumWidth(32);
    spaceV_->setMaximumWidth(32);
    g->addWidget(spaceH_, 0, 2);
    g->addWidget(spaceV_, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("X Bleed:"), box), 2, 0);
    g->addWidget(bleedX_, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Y Bleed:"), box), 3, 0);
    g->addWidget(bleedY_, 3, 1);
    g->addWidget(sepBleed_, 4, 0, 1, 3);
    numTiles_ = PushButton(box, "dnumtiles", QStringLiteral("Specify Number of tiles"));
    g->addWidget(numTiles_, 5, 0, 1, 3);
    AddMoreInfo(box, ui_, "dinfobleed", "Bleed");
    return box;
}

QWidget* TFcrop::BuildMediaBox() {
    auto* box = new QGroupBox(QStringLiteral("Media Size"), this);
    auto* g = new QGridLayout(box);
    maxW_ = LengthEdit(box, "mmMaxw", request_.metric);
    maxH_ = LengthEdit(box, "mmMaxh", request_.metric);
    g->addWidget(new QLabel(QStringLiteral("Width:"), box), 0, 0);
    g->addWidget(maxW_, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Height:"), box), 1, 0);
    g->addWidget(maxH_, 1, 1);
    rotate_ = Named(new QCheckBox(QStringLiteral("Rotate on Printer"), box), "cRot");
    g->addWidget(rotate_, 2, 0, 1, 2);
    resetMedia_ = PushButton(box, "dresetmedia", QStringLiteral("Reset Media Size"));
    g->addWidget(resetMedia_, 3, 0, 1, 2);
    AddMoreInfo(box, ui_, "dinfomedia", "Crop Media Size");
    return box;
}

QWidget* TFcrop::BuildNumberBox() {
    auto* box = new QGroupBox(QStringLiteral("Tile Number"), this);
    auto* g = new QGridLayout(box);
    tileText_ = Named(new QCheckBox(QStringLiteral("Print Tile # (Numbers)"), box), "cTileText");
    reversed_ = Named(new QCheckBox(QStringLiteral("Reversed"), box), "cReversed");
    thick_ = Named(new QCheckBox(QStringLiteral("Thick Line"), box), "cThickLine");
    textSize_ = LengthEdit(box, "mmtextsize", request_.metric);
    example_ = Named(new QLabel(box), "imageexample");
    example_->setToolTip(QStringLiteral("Example"));
    g->addWidget(tileText_, 0, 0, 1, 2);
    g->addWidget(reversed_, 1, 0);
    g->addWidget(thick_, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Text Size:"), box), 2, 0);
    g->addWidget(textSize_, 2, 1);
    g->addWidget(example_, 0, 2, 3, 1);
    AddMoreInfo(box, ui_, "dinfonumber", "Tile Number");
    return box;
}

QWidget* TFcrop::BuildListBox() {
    listBox_ = new QWidget(this);
    auto* outer = new QHBoxLayout(listBox_);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* v = new QVBoxLayout;
    outer->addLayout(v, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Tile #:"), listBox_));
    tileNo_ = Named(new QSpinBox(listBox_), "spintileno");
    row->addWidget(tileNo_);
    row->addStretch();
    v->addLayout(row);
    list_ = Named(new QListWidget(listBox_), "tilelist");
    v->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    auto* check = PushButton(listBox_, "dcheckit", QStringLiteral("Mark as Printed"),
                             QStringLiteral("Left click marks the tile, right click unmarks it"));
    auto* clear = PushButton(listBox_, "dnew", QStringLiteral("Clear Printed Status"));
    auto* reload = PushButton(listBox_, "dopen", QStringLiteral("Reload Printed Status"));
    auto* save = PushButton(listBox_, "dsave", QStringLiteral("Save Printed Status"));
    for (QPushButton* b : {check, clear, reload, save}) buttons->addWidget(b);
    buttons->addStretch();
    outer->addLayout(buttons);
    connect(check, &QPushButton::clicked, this, [this] {
        // A right click unmarks (below); a plain click marks.
        editor_.SetPrinted(list_->currentRow() + 1, true);
        Refresh();
    });
    check->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(check, &QWidget::customContextMenuRequested, this, [this] {
        editor_.SetPrinted(list_->currentRow() + 1, false);
        Refresh();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        editor_.ClearPrinted();
        Refresh();
    });
    connect(reload, &QPushButton::clicked, this, [this] {
        editor_.CreateTileList();
        Refresh();
    });
    connect(save, &QPushButton::clicked, this, [this] { editor_.SaveMarks(request_.projectFile); });
    return listBox_;
}

void TFcrop::Connect() {
    connect(multi_, &QRadioButton::toggled, this, [this](bool on) {
        if (filling_) return;
        editor_.SetMultiTiles(on);
        Refresh();
    });
    for (TmmNumEdit* e : cropEdits_)
        connect(e, &TmmNumEdit::validEntry, this, [this] {
            editor_.SetCropEdges(cropEdits_[0]->value(), cropEdits_[1]->value(),
                                 cropEdits_[2]->value(), cropEdits_[3]->value());
            Refresh();
        });
    connect(fullCrop_, &QPushButton::clicked, this, [this] {
        editor_.ResetCrop();
        Refresh();
    });
    for (TmmNumEdit* e : {tileW_, tileH_})
        connect(e, &TmmNumEdit::validEntry, this, [this] {
            editor_.SetTileSize(tileW_->value(), tileH_->value());
            Refresh();
        });
    const auto bleed = [this] {
        editor_.SetBleed(bleedX_->value(), bleedY_->value(), sepBleed_->isChecked());
        Refresh();
    };
    connect(bleedX_, &TmmNumEdit::validEntry, this, bleed);
    connect(bleedY_, &TmmNumEdit::validEntry, this, bleed);
    connect(sepBleed_, &QCheckBox::clicked, this, bleed);
    connect(tileNo_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int n) {
        if (filling_) return;
        editor_.SelectTile(n);
        Refresh();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (filling_ || row < 0) return;
        editor_.SelectTile(row + 1);
        Refresh();
    });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_) return;
        editor_.SetPrinted(list_->row(item) + 1, item->checkState() == Qt::Checked);
        preview_->update();
    });
    connect(rotate_, &QCheckBox::clicked, this, [this](bool on) {
        editor_.SetRotateOnPrinter(on);
        Refresh();
    });
    for (TmmNumEdit* e : {maxW_, maxH_})
        connect(e, &TmmNumEdit::validEntry, this, [this] {
            editor_.SetMediaSize(maxW_->value(), maxH_->value());
            Refresh();
        });
    connect(resetMedia_, &QPushButton::clicked, this, [this] {
        editor_.ResetMediaSize();
        Refresh();
    });
    connect(numTiles_, &QPushButton::clicked, this, &TFcrop::AskTileCounts);
    connect(spaceH_, &QPushButton::clicked, this, [this] {
        editor_.EquallyDistribute(true);
        Refresh();
    });
    connect(spaceV_, &QPushButton::clicked, this, [this] {
        editor_.EquallyDistribute(false);
        Refresh();
    });
    const auto text = [this] {
        editor_.SetTileText(tileText_->isChecked(), reversed_->isChecked(), thick_->isChecked(),
                            textSize_->value());
        Refresh();
    };
    for (QCheckBox* c : {tileText_, reversed_, thick_}) connect(c, &QCheckBox::clicked, this, text);
    connect(textSize_, &TmmNumEdit::validEntry, this, text);

    connect(preview_, &TilePreview::tileClicked, this, [this](int tile) {
        editor_.SelectTile(tile);
        Refresh();
    });
    connect(preview_, &TilePreview::cropDragged, this, [this] {
        // Values follow the drag; the page is redrawn by the preview itself.
        const TCropTileBlock& b = editor_.Block();
        const float edges[4] = {b.CropLeft, b.CropTop, b.CropRight, b.CropBottom};
        for (int i = 0; i < 4; ++i) cropEdits_[i]->setValue(edges[i]);
    });
    connect(preview_, &TilePreview::dragEnded, this, [this] {
        const TCropTileBlock& b = editor_.Block();
        editor_.SetCropEdges(b.CropLeft, b.CropTop, b.CropRight, b.CropBottom);
        Refresh();
    });
    connect(preview_, &TilePreview::pointerAt, this, [this](float x, float y, int tile) {
        statusPos_->setText(
            Q(FormatLength(x, request_.metric) + " , " + FormatLength(y, request_.metric)));
        statusTile_->setText(editor_.Block().MultiTiles ? QStringLiteral("Tile: %1").arg(tile)
                                                        : QString());
    });
    connect(preview_, &TilePreview::accepted, this, &TFcrop::accept);
}

void TFcrop::Refresh() {
    filling_ = true;
    const TCropTileBlock& b = editor_.Block();
    const bool multi = b.MultiTiles;
    multi_->setChecked(multi);
    single_->setChecked(!multi);
    const float edges[4] = {b.CropLeft, b.CropTop, b.CropRight, b.CropBottom};
    for (int i = 0; i < 4; ++i) {
        cropEdits_[i]->setValue(edges[i]);
        cropEdits_[i]->setEnabled(!multi);
    }
    fullCrop_->setEnabled(!multi);
    tileW_->setValue(multi ? b.TileWidth : b.CropRight - b.CropLeft);
    tileH_->setValue(multi ? b.TileHeight : b.CropBottom - b.CropTop);
    bleedX_->setValue(b.BleedX);
    bleedY_->setValue(b.BleedY);
    if (std::fabs(b.BleedX - b.BleedY) > 0.5f) sepBleed_->setChecked(true);
    maxW_->setValue(b.MaxWidth);
    maxH_->setValue(b.MaxHeight);
    rotate_->setChecked(b.RotateOnPrinter);
    tileText_->setChecked(b.TileText);
    reversed_->setChecked(b.ReverseText);
    thick_->setChecked(b.ThickText);
    textSize_->setValue(b.TextSize);
    for (QWidget* w : std::initializer_list<QWidget*>{bleedX_, sepBleed_, numTiles_, spaceH_,
                                                      spaceV_, maxW_, maxH_, rotate_, resetMedia_,
                                                      tileText_, textSize_, tileNo_})
        w->setEnabled(multi);
    bleedY_->setEnabled(multi && sepBleed_->isChecked());
    reversed_->setEnabled(multi && b.TileText);
    thick_->setEnabled(multi && b.TileText);
    listBox_->setVisible(multi);
    tileNo_->setRange(0, std::max(0, b.TileCount));
    tileNo_->setValue(b.TileNo);
    FillTileList();
    ShowExample();
    statusGrid_->setText(Q(editor_.StatusText()));
    croppedSize_->setText(Q(editor_.CroppedSizeText()));
    docSize_->setText(Q(editor_.PageSizeText()));
    cropPercent_->setText(Q(editor_.CropPercentText()));
    const bool fits = editor_.Fits();
    fits_->setText(fits ? QStringLiteral("✔ Fits the media")
                        : QStringLiteral("⚠ Larger than the media"));
    fits_->setStyleSheet(fits ? QStringLiteral("color: darkgreen")
                              : QStringLiteral("color: #b00000"));
    fits_->setToolTip(fits ? QStringLiteral("Current Area fits onto printer media.")
                           : QStringLiteral("Crop area is larger than print meadia."));
    maximumAction_->setText(QStringLiteral("Set Maximum (%1)").arg(editor_.Maximum()));
    filling_ = false;
    preview_->update();
}

void TFcrop::FillTileList() {
    const auto lines = editor_.TileListLines();
    if (list_->count() != static_cast<int>(lines.size())) {
        list_->clear();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            auto* item = new QListWidgetItem(Q(lines[i]), list_);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
    }
    for (int i = 0; i < list_->count(); ++i) {
        list_->item(i)->setText(Q(lines[static_cast<std::size_t>(i)]));
        list_->item(i)->setCheckState(editor_.IsPrinted(i + 1) ? Qt::Checked : Qt::Unchecked);
    }
    list_->setCurrentRow(editor_.Block().TileNo - 1);
}

void TFcrop::ShowExample() {
    const TCropTileBlock& b = editor_.Block();
    example_->setPixmap(TileNumberExample(b.ReverseText, b.ThickText, 28));
    example_->setEnabled(b.TileText);
}

void TFcrop::AskTileCounts() {
    const TileGrid g = editor_.Grid();
    if (g.Count() == 0) return;
    const auto columns =
        ui_.Input("Horizontal Tiles",
                  "Please enter the number of Horizontal Tiles:", std::to_string(g.columns));
    bool ok = false;
    const int c = columns ? Q(*columns).trimmed().toInt(&ok) : 0;
    if (!ok || c <= 0) return;
    const auto rows = ui_.Input(
        "Vertical Tiles", "Please enter the number of Vertical Tiles:", std::to_string(g.rows));
    const int r = rows ? Q(*rows).trimmed().toInt(&ok) : 0;
    if (!ok || r <= 0) return;
    editor_.SetTileCounts(c, r);
    Refresh();
}

void TFcrop::AskMaximum() {
    const auto answer = ui_.Input("Set Tile Maximum", "Enter the maximum number of tiles allowed.",
                                  std::to_string(editor_.Maximum()));
    if (!answer || answer->empty()) return;
    bool ok = false;
    const int n = Q(*answer).trimmed().toInt(&ok);
    if (!ok) {
        ui_.ShowError("'" + *answer + "' is not a valid integer value.");
        return;
    }
    WriteTileMaximum(n);
    editor_.SetMaximum(n);
    editor_.UpdateAll();
    Refresh();
}

void TFcrop::PrintSheet() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QImage sheet = TilePreview::PaintSheet(editor_, request_.preview, QSize(800, 800));
    QPainter p(&printer);
    const QRect page = p.viewport();
    const double k = std::min(0.75 * page.width(), 0.75 * page.height()) / 800.0;
    const QSize size(static_cast<int>(sheet.width() * k), static_cast<int>(sheet.height() * k));
    p.drawImage(
        QRect(QPoint((page.width() - size.width()) / 2, (page.height() - size.height()) / 2), size),
        sheet);
}

void TFcrop::keyPressEvent(QKeyEvent* event) {
    // Enter confirms a typed value here; it must not also close the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return event->accept();
    QDialog::keyPressEvent(event);
}

void TFcrop::accept() {
    if (editor_.Block().MultiTiles) editor_.SaveMarks(request_.projectFile);
    QDialog::accept();
}

std::optional<TCropTileBlock> EditCropTiles(QWidget* parent, UserInterface& ui,
                                            const CropDialogRequest& request) {
    TFcrop dialog(ui, request, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Editor().Block();
}

void OpenBillboardTiles(JobSession& app, CropDialogMode mode, QWidget* parent) {
    if (!app.CurrentJob || app.CurrentPlotter.MediaWidth <= 0) return;
    const TemfFile& job = *app.CurrentJob;
    CropDialogRequest request;
    request.block = job.CropBlock();
    if (mode != CropDialogMode::AsJob) request.block.MultiTiles = mode == CropDialogMode::Multiple;
    request.pageWidth = job.PageWidth;
    request.pageHeight = job.PageHeight;
    request.limits = TileMediaLimits(job, app.CurrentPlotter);
    request.metric = app.UseMetric;
    request.preview = app.PreviewImage.get();
    request.projectFile = job.FileName;
    const auto block = EditCropTiles(parent, app.Ui(), request);
    if (!block) return;
    ApplyCropBlock(app, *block);
    app.Events().JobChanged();
    app.Events().StateChanged();
}

}  // namespace corvan
