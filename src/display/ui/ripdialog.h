#pragma once
// The project file dialogs: Qt's own file dialog (so that a panel can sit
// beside the file list) with a panel that shows the thumbnail and page size
// stored in the highlighted project file.
#include <QFileDialog>
#include <QImage>
#include <QWidget>

class QLabel;

namespace corvan {

// Draws the dialog's picture: "(None)" without one, 1:1 and centred when it
// fits, else scaled into the box with its proportions, from the top left.
class RipPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit RipPaintBox(const QImage& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& picture_;
};

// Where a picture of the given size lands in a box of the given size.
QRect PictureRect(QSize picture, QSize box);

class TopenRipDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit TopenRipDialog(QWidget* parent = nullptr);

    // The preview of the file at path; runs whenever the highlighted file
    // changes.
    void ShowPreview(const QString& path);
    const QImage& Picture() const { return picture_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QWidget* BuildPanel();
    void FitDetailColumns();

    QImage picture_;
    QLabel* label_ = nullptr;
    RipPaintBox* paintBox_ = nullptr;
};

// The same dialog asking for a file to save to.
class TsaveRipDialog : public TopenRipDialog {
    Q_OBJECT
public:
    explicit TsaveRipDialog(QWidget* parent = nullptr);
};

}  // namespace corvan
