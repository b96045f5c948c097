#include "shell/ui/editbitmap.h"

#include "imagelib/imageload.h"
#include "platform/bmpfile.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/userinterface.h"
#include "shell/appcore.h"
#include "shell/jobcommands.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace corvan {

TFeditbitmap::TFeditbitmap(UserInterface& ui, const Bitmap24& picture, QWidget* parent)
    : QDialog(parent), ui_(ui), picture_(picture) {
    setObjectName(QStringLiteral("feditbitmap"));
    setWindowTitle(QStringLiteral("Edit Bitmap Image"));
    resize(480, 360);
    auto* v = new QVBoxLayout(this);
    auto* view = new QLabel(this);
    view->setPixmap(QPixmap::fromImage(
        picture.View().scaled(440, 260, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    view->setAlignment(Qt::AlignCenter);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(view);
    scroll->setWidgetResizable(true);
    v->addWidget(scroll, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    apply_ = new QPushButton(QStringLiteral("Apply"), this);
    apply_->setObjectName(QStringLiteral("dapply"));
    apply_->setEnabled(false);
    buttons->addWidget(cancel);
    buttons->addWidget(apply_);
    v->addLayout(buttons);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    v->addWidget(status_);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &TFeditbitmap::Apply);
    poll_ = new QTimer(this);
    poll_->setInterval(500);
    connect(poll_, &QTimer::timeout, this, &TFeditbitmap::Poll);
}

TFeditbitmap::~TFeditbitmap() {
    // An editor still open keeps running on its own; only our watch ends.
    if (editor_) editor_->disconnect(this);
}

void TFeditbitmap::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    // After the window is drawn, as opening an editor takes a moment.
    QTimer::singleShot(0, this, &TFeditbitmap::StartEditor);
}

void TFeditbitmap::StartEditor() {
    const std::string folder = SystemTempFolder();
    if (folder.empty()) return;
    file_ = folder + "~temp.bmp";
    status_->setText(QString::fromStdString(file_));
    if (const Status s = WriteBmpFile(picture_, file_); !s.Ok()) {
        ui_.ShowError("Unable to write " + file_ + ": " + s.Error());
        return;
    }
    written_ = QFileInfo(QString::fromStdString(file_)).lastModified();
    const QString command = QString::fromStdString(ReadRegString("ImageEditor", ""));
    if (!command.isEmpty()) {
        QStringList args = QProcess::splitCommand(command);
        const QString program = args.takeFirst();
        editor_ = new QProcess(this);
        editor_->start(program, args << QString::fromStdString(file_));
        if (!editor_->waitForStarted(5000)) {
            ui_.ShowError("Unable to start the image editor: " + command.toStdString());
            return;
        }
    } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file_)))) {
        ui_.ShowError("No image editor is set up for BMP files on this desktop.");
        return;
    }
    poll_->start();
}

bool TFeditbitmap::ApplyEnabled() const {
    return apply_->isEnabled();
}

void TFeditbitmap::Poll() {
    const QFileInfo info(QString::fromStdString(file_));
    const bool saved = info.exists() && info.lastModified() != written_;
    const bool closed = editor_ && editor_->state() == QProcess::NotRunning;
    // An editor we started counts once it closed; one the desktop started
    // cannot be watched, so a saved file is the sign.
    apply_->setEnabled(info.exists() && (editor_ ? closed : saved));
}

void TFeditbitmap::Apply() {
    ImageLoadResult loaded = LoadImage24(file_);
    if (!loaded.image) {
        ui_.ShowError("Unable to load image: " + file_ + "\r" + loaded.error);
        return;
    }
    result_ = std::move(loaded.image);
    accept();
}

std::unique_ptr<Bitmap24> EditBitmapExternally(UserInterface& ui, const Bitmap24& picture,
                                               QWidget* parent) {
    TFeditbitmap dlg(ui, picture, parent);
    if (dlg.exec() != QDialog::Accepted) return nullptr;
    return dlg.TakeResult();
}

void EditBackgroundImage(AppCore& app, QWidget* parent) {
    TemfFile* job = app.CurrentJob.get();
    if (!job || job->BackgroundFile.empty() || !job->BackgroundImage) return;
    auto edited = EditBitmapExternally(app.Ui(), *job->BackgroundImage, parent);
    std::string file;
    if (edited) {
        file = EditedImageName(job->BackgroundFile);
        if (!edited->View().save(QString::fromStdString(file))) {
            app.Ui().ShowError("Unable to save the edited picture as " + file);
            edited.reset();
        }
    }
    BackgroundEdited(app, std::move(edited), file);
}

}  // namespace corvan
