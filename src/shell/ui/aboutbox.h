#pragma once
// The about box: picture, version label, reseller lines, OK.
#include <QDialog>

#include <memory>

namespace Ui {
class Tfabout;
}

namespace corvan {

class Tfabout : public QDialog {
    Q_OBJECT
public:
    explicit Tfabout(QWidget* parent = nullptr);
    ~Tfabout() override;

private:
    std::unique_ptr<Ui::Tfabout> ui_;
};

void ShowAboutBox(QWidget* parent);

}  // namespace corvan
