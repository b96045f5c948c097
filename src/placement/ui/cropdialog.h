#pragma once
// "Crop Selection (Billboard Tiles)": the crop section of the job as one free
// rectangle, or as the current tile of a grid of equal tiles with bleed and
// a list of the tiles already printed. Works on a copy of the job's crop
// block; the caller applies the block when the dialog is accepted.
#include "placement/tiling.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;

namespace corvan {

class TilePreview;
class TmmNumEdit;

struct CropDialogRequest {
    TCropTileBlock block;
    float pageWidth = 0, pageHeight = 0;
    MediaLimits limits;
    bool metric = true;
    const Bitmap24* preview = nullptr;  // the job's page preview, if any
    std::string projectFile;            // where printed marks are kept; empty when unsaved
};

class TFcrop : public QDialog {
    Q_OBJECT
public:
    TFcrop(UserInterface& ui, const CropDialogRequest& request, QWidget* parent = nullptr);

    TileEditor& Editor() { return editor_; }
    // Fills every control from the editor and redraws the page.
    void Refresh();
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* BuildSide();
    QWidget* BuildCropBox();
    QWidget* BuildTileBox();
    QWidget* BuildMediaBox();
    QWidget* BuildNumberBox();
    QWidget* BuildListBox();
    QMenuBar* BuildMenu();
    void Connect();
    void FillTileList();
    void ShowExample();
    void AskTileCounts();
    void AskMaximum();
    void PrintSheet();

    UserInterface& ui_;
    CropDialogRequest request_;
    TileEditor editor_;
    bool filling_ = false;

    TilePreview* preview_ = nullptr;
    QStatusBar* status_ = nullptr;
    QLabel* statusPos_ = nullptr;
    QLabel* statusTile_ = nullptr;
    QLabel* statusGrid_ = nullptr;
    QRadioButton* single_ = nullptr;
    QRadioButton* multi_ = nullptr;
    TmmNumEdit* cropEdits_[4] = {};
    QPushButton* fullCrop_ = nullptr;
    TmmNumEdit* tileW_ = nullptr;
    TmmNumEdit* tileH_ = nullptr;
    TmmNumEdit* bleedX_ = nullptr;
    TmmNumEdit* bleedY_ = nullptr;
    QCheckBox* sepBleed_ = nullptr;
    QPushButton* numTiles_ = nullptr;
    QPushButton* spaceH_ = nullptr;
    QPushButton* spaceV_ = nullptr;
    TmmNumEdit* maxW_ = nullptr;
    TmmNumEdit* maxH_ = nullptr;
    QCheckBox* rotate_ = nullptr;
    QPushButton* resetMedia_ = nullptr;
    QCheckBox* tileText_ = nullptr;
    QCheckBox* reversed_ = nullptr;
    QCheckBox* thick_ = nullptr;
    TmmNumEdit* textSize_ = nullptr;
    QLabel* example_ = nullptr;
    QSpinBox* tileNo_ = nullptr;
    QListWidget* list_ = nullptr;
    QWidget* listBox_ = nullptr;
    QLabel* croppedSize_ = nullptr;
    QLabel* docSize_ = nullptr;
    QLabel* cropPercent_ = nullptr;
    QLabel* fits_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* maximumAction_ = nullptr;
};

// How the dialog opens: in multiple-tile mode (the billboard commands), in
// single-tile mode (the crop-area button), or in the mode the job has.
enum class CropDialogMode { Multiple, Single, AsJob };

// The main window's command: the dialog for the current job on the current
// device; an accepted block becomes the job's crop section. Nothing without
// a job or a device with media.
void OpenBillboardTiles(JobSession& app, CropDialogMode mode, QWidget* parent);

// Shows the dialog modally; the edited block when accepted.
std::optional<TCropTileBlock> EditCropTiles(QWidget* parent, UserInterface& ui,
                                            const CropDialogRequest& request);

}  // namespace corvan
