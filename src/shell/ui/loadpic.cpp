#include "shell/ui/loadpic.h"

#include "imagelib/imageload.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/userinterface.h"
#include "raster/emfdoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace corvan {

namespace {

const char* const kImageMask = "*.bmp;*.jpg;*.tif;*.eps;*.gif;*.psd";
const char* const kLayerMask = "*.LYR;*.emf";
constexpr int kThumb = 100;

bool IsLayer(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toUpper();
    return ext == "EMF" || ext == "LYR";
}

// A 100 x 100 white square with a black border and both diagonals.
QImage CrossedBox() {
    QImage img(kThumb, kThumb, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.drawRect(0, 0, kThumb - 1, kThumb - 1);
    p.drawLine(0, 0, kThumb - 1, kThumb - 1);
    p.drawLine(0, kThumb - 1, kThumb - 1, 0);
    return img;
}

// The picture of a file: a layer played into 800 x 800, else the picture.
QImage PictureOf(const QString& path) {
    if (IsLayer(path)) {
        TemfDoc doc;
        doc.ImageWidth = doc.ImageHeight = 800;
        doc.PlayRect = {0, 0, 800, 800};
        doc.LayerFiles = {path.toStdString()};
        auto image = doc.Render();
        return image ? image->View().copy() : QImage();
    }
    ImageLoadResult loaded = LoadImage24(path.toStdString());
    return loaded.image ? loaded.image->View().copy() : QImage();
}

QImage MakeThumbnail(const QImage& picture) {
    if (picture.isNull()) return QImage();
    if (picture.width() <= kThumb && picture.height() <= kThumb) return picture;
    return picture.scaled(kThumb, kThumb, Qt::KeepAspectRatio, Qt::FastTransformation);
}

QStringList Masks(const QString& text) {
    QStringList out;
    for (const QString& m : text.split(';', Qt::SkipEmptyParts))
        out << m.trimmed() << m.trimmed().toUpper();
    return out;
}

}  // namespace

TFloadpic::TFloadpic(UserInterface& ui, LibraryMode mode, const std::string& startFolder,
                     QWidget* parent)
    : QDialog(parent), ui_(ui), mode_(mode), history_(LibraryHistory::Load()) {
    setObjectName(QStringLiteral("Floadpic"));
    const bool layers = mode == LibraryMode::Layers;
    setWindowTitle(layers ? QStringLiteral("Select Vector Layer...")
                          : QStringLiteral("Select Background Image..."));
    resize(1000, 640);
    pool_.setMaxThreadCount(1);
    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    previewTimer_->setInterval(200);
    connect(previewTimer_, &QTimer::timeout, this, &TFloadpic::RunPreview);

    dirs_ = new QFileSystemModel(this);
    dirs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirs_->setRootPath(QDir::rootPath());
    files_ = new QFileSystemModel(this);
    files_->setFilter(QDir::Files);
    files_->setNameFilterDisables(false);

    auto* v = new QVBoxLayout(this);
    v->addWidget(BuildTop());
    auto* split = new QSplitter(this);
    tree_ = new QTreeView(split);
    tree_->setObjectName(QStringLiteral("DirectoryTree"));
    tree_->setModel(dirs_);
    for (int c = 1; c < dirs_->columnCount(); ++c) tree_->hideColumn(c);
    tree_->setHeaderHidden(true);
    list_ = new QListView(split);
    list_->setObjectName(QStringLiteral("FileList"));
    list_->setModel(files_);
    thumbs_ = new QListWidget(split);
    thumbs_->setObjectName(QStringLiteral("ThumbnailList"));
    thumbs_->setViewMode(QListView::IconMode);
    thumbs_->setIconSize(QSize(kThumb, kThumb));
    thumbs_->setGridSize(QSize(125, 125));
    thumbs_->setResizeMode(QListView::Adjust);
    thumbs_->hide();
    full_ = new QScrollArea(split);
    full_->setObjectName(QStringLiteral("FullPreview"));
    full_->setWidget(new QLabel(full_));
    full_->hide();
    split->addWidget(BuildSide());
    split->setStretchFactor(1, 1);
    v->addWidget(split, 1);
    v->addWidget(BuildBottom());
    auto* bar = new QHBoxLayout;
    for (auto*& s : status_) {
        s = new QLabel(this);
        bar->addWidget(s, 1);
    }
    v->addLayout(bar);

    connect(tree_, &QTreeView::clicked, this,
            [this](const QModelIndex& i) { GoTo(dirs_->filePath(i).toStdString()); });
    connect(list_, &QListView::clicked, this,
            [this](const QModelIndex& i) { ChooseName(files_->fileName(i)); });
    connect(list_, &QListView::doubleClicked, this, [this] { Load(); });
    connect(thumbs_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ChooseName(item->text()); });
    connect(files_, &QFileSystemModel::directoryLoaded, this, [this] {
        status_[0]->setText(QStringLiteral("%1 Items").arg(files_->rowCount(list_->rootIndex())));
    });

    FillHistories();
    std::string start = startFolder;
    if (history_.rememberLast && !history_.dirs[static_cast<int>(mode_)].empty())
        start = history_.dirs[static_cast<int>(mode_)].front();
    GoTo(start.empty() ? QDir::homePath().toStdString() : start);
}

TFloadpic::~TFloadpic() {
    ++thumbRun_;
    pool_.clear();
    pool_.waitForDone();
    LogLine("Clear List");
    history_.rememberLast = lastDir_->isChecked();
    history_.Store();
    LogLine("Closed");
}

QWidget* TFloadpic::BuildTop() {
    auto* w = new QWidget(this);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    lookIn_ = new QComboBox(w);
    lookIn_->setObjectName(QStringLiteral("combolookin"));
    lookIn_->addItems({"Home", "Documents", "Desktop", "Image Files"});
    lookIn_->setCurrentIndex(2);
    connect(lookIn_, &QComboBox::activated, this, [this](int i) {
        if (i == 3) {
            std::string library = ImageFilesFolder();
            if (library.empty()) {
                ui_.ShowWarning("You Need to specify the Location for you Image Files...");
                if (auto f = AskLibraryFolder()) SetImageFilesFolder(*f);
                library = ImageFilesFolder();
            }
            if (!library.empty()) GoTo(library);
            return;
        }
        const QStandardPaths::StandardLocation where[] = {QStandardPaths::HomeLocation,
                                                          QStandardPaths::DocumentsLocation,
                                                          QStandardPaths::DesktopLocation};
        GoTo(QStandardPaths::writableLocation(where[i]).toStdString());
    });
    dirHistory_ = new QComboBox(w);
    dirHistory_->setObjectName(mode_ == LibraryMode::Layers ? QStringLiteral("combo_emfhistory")
                                                            : QStringLiteral("combohistory"));
    // Long paths and format lists must not widen the window past the screen.
    dirHistory_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    dirHistory_->setMinimumContentsLength(16);
    connect(dirHistory_, &QComboBox::activated, this,
            [this](int i) { GoTo(dirHistory_->itemText(i).toStdString()); });
    path_ = new QLineEdit(w);
    path_->setObjectName(QStringLiteral("editpath"));
    connect(path_, &QLineEdit::returnPressed, this, [this] { GoTo(path_->text().toStdString()); });
    auto* up = new QPushButton(QStringLiteral("Up one level"), w);
    up->setObjectName(QStringLiteral("dup"));
    connect(up, &QPushButton::clicked, this, [this] {
        QDir d(QString::fromStdString(folder_));
        if (d.cdUp()) GoTo(d.absolutePath().toStdString());
    });
    auto* newFolder = new QPushButton(QStringLiteral("New Folder"), w);
    newFolder->setObjectName(QStringLiteral("dnewfolder"));
    connect(newFolder, &QPushButton::clicked, this, [this] {
        QDir dir(QString::fromStdString(folder_));
        QString name = QStringLiteral("New Folder");
        for (int n = 2; dir.exists(name); ++n) name = QStringLiteral("New Folder (%1)").arg(n);
        if (!dir.mkdir(name)) ui_.ShowError("Unable to create a folder in " + folder_);
    });
    auto* find = new QPushButton(QStringLiteral("Find"), w);
    find->setObjectName(QStringLiteral("dfind"));
    // The desktop's file manager searches; it opens on the current folder.
    connect(find, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder_)));
    });
    auto* views = new QComboBox(w);
    views->setObjectName(QStringLiteral("comboviewstyle"));
    views->addItems({"Large Icons", "Small Icons", "List"});
    views->setCurrentIndex(2);
    connect(views, &QComboBox::activated, this, [this](int i) {
        list_->setViewMode(i == 2 ? QListView::ListMode : QListView::IconMode);
        list_->setIconSize(i == 0 ? QSize(48, 48) : QSize(16, 16));
        list_->setGridSize(i == 0 ? QSize(96, 80) : i == 1 ? QSize(120, 32) : QSize());
    });
    h->addWidget(newFolder);
    h->addWidget(find);
    h->addWidget(views);
    auto* library = new QPushButton(QStringLiteral("Image Library"), w);
    library->setObjectName(QStringLiteral("dlibrary"));
    LibraryMenu(library);
    h->addWidget(lookIn_);
    h->addWidget(dirHistory_, 1);
    h->addWidget(path_, 2);
    h->addWidget(up);
    h->addWidget(library);
    return w;
}

QWidget* TFloadpic::BuildSide() {
    auto* w = new QWidget(this);
    auto* v = new QVBoxLayout(w);
    picture_ = new QLabel(w);
    picture_->setObjectName(QStringLiteral("ImagePreview"));
    picture_->setFixedSize(260, 260);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    details_ = new QPlainTextEdit(w);
    details_->setObjectName(QStringLiteral("memodetails"));
    details_->setReadOnly(true);
    preview_ = new QCheckBox(QStringLiteral("Preview"), w);
    preview_->setObjectName(QStringLiteral("cpreview"));
    preview_->setChecked(true);
    bigFiles_ = new QCheckBox(QStringLiteral("Preview big files"), w);
    bigFiles_->setObjectName(QStringLiteral("cbigfiles"));
    thumbnails_ = new QCheckBox(QStringLiteral("Thumbnails"), w);
    thumbnails_->setObjectName(QStringLiteral("cthumbnails"));
    connect(thumbnails_, &QCheckBox::toggled, this, &TFloadpic::SetThumbnails);
    copy_ = new QCheckBox(QStringLiteral("Copy to Image Folder"), w);
    copy_->setObjectName(QStringLiteral("ccopy"));
    fullPreview_ = new QCheckBox(QStringLiteral("Full Image Preview"), w);
    fullPreview_->setObjectName(QStringLiteral("cfullpreview"));
    fullPreview_->setEnabled(false);
    connect(fullPreview_, &QCheckBox::toggled, this, &TFloadpic::ShowFullPreview);
    lastDir_ = new QCheckBox(QStringLiteral("Remember Last"), w);
    lastDir_->setObjectName(QStringLiteral("cLastDir"));
    lastDir_->setChecked(history_.rememberLast);
    v->addWidget(picture_);
    v->addWidget(details_, 1);
    for (QCheckBox* b : {preview_, bigFiles_, fullPreview_, thumbnails_, copy_, lastDir_})
        v->addWidget(b);
    return w;
}

QWidget* TFloadpic::BuildBottom() {
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    const bool layers = mode_ == LibraryMode::Layers;
    mask_ = new QComboBox(w);
    mask_->setObjectName(QStringLiteral("combomask"));
    mask_->setEditable(true);
    mask_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    mask_->setMinimumContentsLength(24);
    if (layers) {
        mask_->addItem(QStringLiteral("Vector Layer Files (*.LYR,*.EMF) (") + kLayerMask + ")");
        mask_->setEnabled(false);
    } else {
        QStringList all;
        for (const QByteArray& f : QImageReader::supportedImageFormats()) all << "*." + QString(f);
        for (const char* ours :
             {"*.pcx", "*.psd", "*.eps", "*.ps", "*.pdf", "*.heic", "*.heif", "*.avif"})
            if (!all.contains(ours)) all << ours;
        mask_->addItem("All (" + all.join(';') + ")");
        for (const QString& ext : all)
            mask_->addItem(ext.mid(2).toUpper() + " images (" + ext + ")");
    }
    const auto applyMask = [this](const QString& text) {
        const int open = text.lastIndexOf('('), close = text.lastIndexOf(')');
        const QString masks =
            open >= 0 && close > open ? text.mid(open + 1, close - open - 1) : text;
        files_->setNameFilters(Masks(masks));
    };
    connect(mask_, &QComboBox::currentTextChanged, this, applyMask);
    applyMask(mask_->currentText());
    name_ = new QLineEdit(w);
    name_->setObjectName(QStringLiteral("editfilename"));
    connect(name_, &QLineEdit::textChanged, this, [this](const QString& n) {
        if (!navigating_) ChooseName(n);
    });
    fileHistory_ = new QComboBox(w);
    fileHistory_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fileHistory_->setMinimumContentsLength(24);
    fileHistory_->setObjectName(layers ? QStringLiteral("combo_EMFfilename")
                                       : QStringLiteral("comboFilename"));
    connect(fileHistory_, &QComboBox::activated, this, [this](int i) {
        const QFileInfo f(fileHistory_->itemText(i));
        if (f.exists()) GoTo(f.absolutePath().toStdString());
        name_->setText(f.fileName());
    });
    copyFile_ = new QPushButton(QStringLiteral("Copy File"), w);
    load_ = new QPushButton(QStringLiteral("Load"), w);
    load_->setObjectName(QStringLiteral("dload"));
    load_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), w);
    for (QPushButton* b : {load_, copyFile_}) b->setEnabled(false);
    connect(load_, &QPushButton::clicked, this, &TFloadpic::Load);
    connect(copyFile_, &QPushButton::clicked, this, &TFloadpic::CopyFile);
    connect(cancel, &QPushButton::clicked, this, [this] {
        previewTimer_->stop();
        reject();
    });
    g->addWidget(new QLabel(QStringLiteral("File name:"), w), 0, 0);
    g->addWidget(name_, 0, 1);
    g->addWidget(load_, 0, 2);
    g->addWidget(cancel, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Files of type:"), w), 1, 0);
    g->addWidget(mask_, 1, 1);
    g->addWidget(copyFile_, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Recent files:"), w), 2, 0);
    g->addWidget(fileHistory_, 2, 1);
    return w;
}

void TFloadpic::FillHistories() {
    const int m = static_cast<int>(mode_);
    dirHistory_->clear();
    for (const std::string& d : history_.dirs[m]) dirHistory_->addItem(QString::fromStdString(d));
    fileHistory_->clear();
    for (const std::string& f : history_.files[m]) fileHistory_->addItem(QString::fromStdString(f));
}

void TFloadpic::GoTo(const std::string& folder) {
    const QString path = QDir(QString::fromStdString(folder)).absolutePath();
    if (!QFileInfo(path).isDir()) return;
    folder_ = WithTrailingSlash(path.toStdString());
    tree_->setCurrentIndex(dirs_->index(path));
    list_->setRootIndex(files_->setRootPath(path));
    path_->setText(path);
    navigating_ = true;
    name_->clear();
    navigating_ = false;
    SetThumbnails(false);
    fullPreview_->setChecked(false);
    chosen_.clear();
    valid_ = false;
    load_->setEnabled(false);
    copyFile_->setEnabled(false);
}

void TFloadpic::ChooseName(const QString& name) {
    if (name_->text() != name) {
        navigating_ = true;
        name_->setText(name);
        navigating_ = false;
    }
    chosen_ = folder_ + name.toStdString();
    const QFileInfo info(QString::fromStdString(chosen_));
    valid_ = !name.isEmpty() && info.isFile();
    load_->setEnabled(valid_);
    copyFile_->setEnabled(valid_);
    fullPreview_->setChecked(false);
    fullPreview_->setEnabled(false);
    previewTimer_->stop();
    if (!valid_) {
        picture_->clear();
        details_->clear();
        for (int i = 1; i < 4; ++i) status_[i]->clear();
        return;
    }
    list_->setCurrentIndex(files_->index(info.absoluteFilePath()));
    ShowDetails(info.absoluteFilePath());
    history_.AddDir(mode_, folder_);
    FillHistories();
    dirHistory_->setCurrentIndex(0);
}

void TFloadpic::ShowDetails(const QString& path) {
    const QFileInfo info(path);
    status_[1]->setText(QString::fromStdString("Size: " + LibrarySizeText(info.size())));
    status_[2]->setText("Date: " + info.lastModified().toString(Qt::TextDate));
    status_[3]->setText(path);
    details_->setPlainText(QStringLiteral("File:\t%1\nSize:\t%2 Bytes\nDate:\t%3\nPath:\t%4")
                               .arg(info.fileName())
                               .arg(info.size())
                               .arg(info.lastModified().toString(Qt::TextDate))
                               .arg(path));
    if (preview_->isChecked() && PreviewAllowed(info.size(), bigFiles_->isChecked()))
        previewTimer_->start();
    else
        picture_->setPixmap(QPixmap::fromImage(CrossedBox()));
}

void TFloadpic::RunPreview() {
    if (!valid_) return;
    ui_.SetBusy(true);
    const QImage img = PictureOf(QString::fromStdString(chosen_));
    ui_.SetBusy(false);
    if (img.isNull()) {
        picture_->clear();
        return;
    }
    picture_->setPixmap(QPixmap::fromImage(img.scaled(
        picture_->size() - QSize(20, 20), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    details_->appendPlainText(
        QStringLiteral("Size:\t%1 x %2 Pixels").arg(img.width()).arg(img.height()));
    previewed_ = img;
    fullPreview_->setEnabled(true);
}

void TFloadpic::SetThumbnails(bool on) {
    if (thumbnails_->isChecked() != on) {
        thumbnails_->setChecked(on);  // runs this again through its signal
        return;
    }
    ++thumbRun_;  // a run in progress stops
    thumbs_->clear();
    list_->setVisible(!on);
    thumbs_->setVisible(on);
    if (on) MakeThumbnails();
}

void TFloadpic::ShowFullPreview(bool on) {
    auto* label = static_cast<QLabel*>(full_->widget());
    if (on) {
        label->setPixmap(QPixmap::fromImage(previewed_));
        label->adjustSize();
    } else {
        label->clear();
    }
    full_->setVisible(on);
    list_->setVisible(!on && !thumbnails_->isChecked());
    thumbs_->setVisible(!on && thumbnails_->isChecked());
}

int TFloadpic::ThumbnailCount() const {
    return thumbs_->count();
}

void TFloadpic::MakeThumbnails() {
    QStringList names;
    const QModelIndex root = list_->rootIndex();
    for (int r = 0; r < files_->rowCount(root); ++r)
        names << files_->fileName(files_->index(r, 0, root));
    if (names.isEmpty()) {
        // The model may not have read the folder yet.
        QDir dir(QString::fromStdString(folder_));
        names = dir.entryList(files_->nameFilters(), QDir::Files, QDir::Name);
    }
    const int run = ++thumbRun_;
    const QString folder = QString::fromStdString(folder_);
    const bool big = bigFiles_->isChecked();
    pool_.start([this, run, names, folder, big] {
        for (int i = 0; i < names.size() && thumbRun_ == run; ++i) {
            const QString path = folder + names[i];
            const QFileInfo info(path);
            QImage thumb =
                ThumbnailAllowed(info.size(), big) ? MakeThumbnail(PictureOf(path)) : CrossedBox();
            QMetaObject::invokeMethod(this, [this, run, name = names[i], thumb] {
                if (thumbRun_ != run) return;
                auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(thumb)), name, thumbs_);
                thumbs_->scrollToItem(item);
                status_[0]->setText(QStringLiteral("%1 images loaded").arg(thumbs_->count()));
            });
        }
        QMetaObject::invokeMethod(this, [this, run] {
            if (thumbRun_ != run) return;
            thumbs_->scrollToTop();
            Q_EMIT ThumbnailsDone();
        });
    });
}

void TFloadpic::LibraryMenu(QPushButton* button) {
    auto* menu = new QMenu(button);
    menu->addAction(QStringLiteral("Set ImageFiles Location"), this, [this] {
        if (auto f = AskLibraryFolder()) {
            ui_.ShowInfo("ImageFiles set to:\r" + *f);
            SetImageFilesFolder(*f);
        }
    });
    menu->addAction(QStringLiteral("Set Current to ImageFiles"), this, [this] {
        ui_.ShowInfo("ImageFiles set to:\r" + folder_);
        SetImageFilesFolder(folder_);
    });
    menu->addAction(QStringLiteral("Go to ImageFiles"), this, [this] {
        lookIn_->setCurrentIndex(3);
        Q_EMIT lookIn_->activated(3);
    });
    button->setMenu(menu);
}

std::optional<std::string> TFloadpic::AskLibraryFolder() {
    FileDialogRequest req;
    req.mode = FileDialogRequest::Mode::Folder;
    req.title = "Set ImageFile Location";
    req.initialDir =
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString();
    return ui_.ChooseFile(req);
}

void TFloadpic::CopyFile() {
    if (!valid_) return;
    FileDialogRequest req;
    req.mode = FileDialogRequest::Mode::Save;
    req.title = "Copy File";
    req.fileName = QFileInfo(QString::fromStdString(chosen_)).fileName().toStdString();
    const auto target = ui_.ChooseFile(req);
    if (!target || target->empty() || *target == chosen_) return;
    QFile::remove(QString::fromStdString(*target));
    if (!QFile::copy(QString::fromStdString(chosen_), QString::fromStdString(*target)))
        ui_.ShowError("Unable to copy " + chosen_ + " to " + *target);
}

void TFloadpic::Load() {
    if (!valid_) return;
    previewTimer_->stop();
    LogLine("Load Image");
    if (copy_->isChecked())
        if (auto copied = CopyToImageFiles(ui_, chosen_, [this] { return AskLibraryFolder(); }))
            chosen_ = *copied;
    LogLine("Add to Hist");
    if (FileExists(chosen_)) history_.AddFile(mode_, chosen_);
    result_ = chosen_;
    LogLine("Close Form");
    accept();
}

std::optional<std::string> ChooseFromLibrary(UserInterface& ui, LibraryMode mode,
                                             const std::string& startFolder, QWidget* parent) {
    TFloadpic dlg(ui, mode, startFolder, parent);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    const auto chosen = dlg.Result();
    if (!chosen || !FileExists(*chosen)) return std::nullopt;
    return chosen;
}

}  // namespace corvan
