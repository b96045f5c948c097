#pragma once
// The main window's view area `paneldisp`: the header strip with the view
// buttons and the zoom controls, the two rulers in the display unit, and the
// paint box with the job.
#include "display/ui/jobview.h"
#include "display/ui/ruler.h"

#include <QWidget>

class QLabel;
class QToolButton;

namespace corvan {

// The grey strip above the view: 33 lines fading from white to mid grey.
class HeaderStrip : public QWidget {
    Q_OBJECT
public:
    explicit HeaderStrip(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class ViewArea : public QWidget {
    Q_OBJECT
public:
    ViewArea(AppCore& app, QWidget* parent = nullptr);

    JobView* View() const { return view_; }
    // One of dviewpic, dviewpage, dviewprinter, dviewNone, dviewcut, dviewimage.
    QToolButton* Button(const char* name) const;
    void SetUnit(RulerUnit unit);
    // Rulers and the zoom text follow the view.
    void Refresh();

Q_SIGNALS:
    // One of the six view buttons was clicked (after it changed its state).
    void viewButtonClicked(QToolButton* sender);

private:
    QWidget* BuildHeader();
    QToolButton* AddButton(QWidget* parent, const char* name, const QString& text,
                           const QString& hint, const char* icon);

    AppCore& app_;
    JobView* view_;
    Ruler* top_;
    Ruler* left_;
    QLabel* zoomText_ = nullptr;
};

}  // namespace corvan
