#pragma once
// "Edit Bitmap Image": a picture edited in another program. The picture is
// written to "~temp.bmp" in the temporary folder and opened in the image
// editor the operator configured (registry value "ImageEditor", a command
// the file name is appended to) or else the one the desktop has for BMP
// files. "Apply" is offered once the editor has closed or the file has been
// saved, and takes the edited picture back at its new size.
#include "platform/bitmap.h"

#include <QDateTime>
#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QProcess;
class QPushButton;
class QTimer;

namespace corvan {

class UserInterface;

class TFeditbitmap : public QDialog {
    Q_OBJECT
public:
    TFeditbitmap(UserInterface& ui, const Bitmap24& picture, QWidget* parent = nullptr);
    ~TFeditbitmap() override;

    // The edited picture after "Apply"; none before or after "Cancel".
    std::unique_ptr<Bitmap24> TakeResult() { return std::move(result_); }
    bool ApplyEnabled() const;
    std::string TempFile() const { return file_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void StartEditor();
    void Poll();
    void Apply();

    UserInterface& ui_;
    const Bitmap24& picture_;
    std::string file_;
    QDateTime written_;
    QProcess* editor_ = nullptr;
    bool started_ = false;
    QLabel* status_;
    QPushButton* apply_;
    QTimer* poll_;
    std::unique_ptr<Bitmap24> result_;
};

class AppCore;

// "Edit Image": the job's background in the image editor; an applied edit is
// saved beside the original (EditedImageName) and becomes the background.
void EditBackgroundImage(AppCore& app, QWidget* parent);

// Shows the dialog for `picture`; the edited picture when it was applied.
std::unique_ptr<Bitmap24> EditBitmapExternally(UserInterface& ui, const Bitmap24& picture,
                                               QWidget* parent);

}  // namespace corvan
