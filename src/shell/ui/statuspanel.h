#pragma once
// A status bar panel the window draws itself: an icon one pixel from the
// left, the text 23 pixels from the left and 2 from the top.
#include <QIcon>
#include <QWidget>

namespace corvan {

class StatusPanel : public QWidget {
    Q_OBJECT
public:
    StatusPanel(const QIcon& icon, int width, QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return text_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon icon_;
    QString text_;
    int width_;
};

}  // namespace corvan
