#pragma once
// "Enter Job Size": asks for a page size for a new job, a resized job or a
// picture. The dialog edits a copy of the request and hands back the size
// in millimetres; the caller decides what to do with it.
#include "shell/appcore.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class Tfsize;
}

namespace corvan {

class Tfsize : public QDialog {
    Q_OBJECT
public:
    Tfsize(const JobSizeRequest& request, QWidget* parent = nullptr);
    ~Tfsize() override;

    // The chosen size; none unless both sides are at least 1 mm.
    std::optional<JobSize> Result() const;

    // For tests and the screenshot tool: the controls by their names.
    void SelectPreset(int index);
    void SelectUnit(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    float Factor() const;
    void ApplyUnit();
    void ResetSize();
    void PresetChosen(int index);
    void SideEntered(bool width);
    void Redraw();
    void PaintPreview();
    void MarkCustom();

    std::unique_ptr<Ui::Tfsize> ui_;
    JobSizeRequest request_;
    int unit_ = 0;
    JobSize result_;
};

// Shows the dialog modally; none when cancelled.
std::optional<JobSize> JobSizeDialog(QWidget* parent, const JobSizeRequest& request);

}  // namespace corvan
