#pragma once
// "Save Flattened Bitmap": the job's crop section flattened into one
// picture at a chosen resolution, turned as it prints, in colour, grey or
// black and white; saved as BMP, JPEG, PNG or TIFF, or copied to the
// clipboard. Pictures too large to hold are shown reduced and written to the
// file strip by strip when saved.
#include "display/flatten.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace corvan {

class UserInterface;

class Tfsaveflatten : public QDialog {
    Q_OBJECT
public:
    Tfsaveflatten(const TemfFile& job, UserInterface& ui, QWidget* parent = nullptr);
    ~Tfsaveflatten() override;

    // "Create": renders the picture (asking first when it is very large);
    // false when refused or failed.
    bool Create();
    // Saves to `path` as the Accept button does after its file dialog; the
    // name is made web-safe and given an extension as the check boxes say.
    // Returns the path written, empty on failure.
    std::string SaveTo(const std::string& path);
    const Bitmap24* Image() const { return image_.get(); }
    bool Streamed() const { return streamed_; }

private:
    void BuildControls();
    void UpdateSizes(double dpi);
    void PresetChosen(int index);
    SinkPixels Pixels() const;
    void AcceptClicked();
    void CopyToClipboard();
    void ShowImage();

    const TemfFile& job_;
    UserInterface& ui_;
    std::unique_ptr<Bitmap24> image_;  // turned; colour even for grey and mono
    bool streamed_ = false;            // too large to hold: written from the job on save
    double madeDpi_ = 0;
    SinkPixels madePixels_ = SinkPixels::Colour;
    bool updating_ = false;

    QDoubleSpinBox* dpi_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QComboBox* size_ = nullptr;
    QLabel* bytes_ = nullptr;
    QRadioButton* colour_ = nullptr;
    QRadioButton* grey_ = nullptr;
    QRadioButton* mono_ = nullptr;
    QCheckBox* antialias_ = nullptr;
    QCheckBox* jpeg_ = nullptr;
    QCheckBox* webSafe_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* copy_ = nullptr;
    QLabel* picture_ = nullptr;
};

// "Save as Flattened Bitmap": nothing without a job.
void SaveFlattenedCommand(const TemfFile* job, UserInterface& ui, QWidget* parent);

}  // namespace corvan
