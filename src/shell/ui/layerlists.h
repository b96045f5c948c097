#pragma once
// The "Vector Layers" group of the project tab: the active list (the job's
// layers, back to front), the stored list (layer files parked by the
// operator, kept by the window for as long as it runs), their buttons,
// popups and information line. Layers move between the lists by dragging.
#include <QGroupBox>
#include <QListWidget>

#include <string>
#include <vector>

class QGridLayout;
class QLabel;
class QMenu;
class QPushButton;

namespace corvan {

class AppCore;

// One of the two lists: owner-drawn lines, drags to and from its partner
// only, local files from a file manager, and its own delete key.
class LayerListBox : public QListWidget {
    Q_OBJECT
public:
    LayerListBox(const char* name, Qt::Key deleteKey, QWidget* parent);
    void SetPartner(const LayerListBox* partner) { partner_ = partner; }
    // Lines are the paths; the list draws their numbers.
    void Fill(const std::vector<std::string>& paths);
    // What a drag of this list's selected line carries (the caller owns it).
    QMimeData* LineMime() const;
    // True when `mime` is a line dragged from the partner list.
    bool FromPartner(const QMimeData* mime) const;

Q_SIGNALS:
    void DeletePressed();
    // A line of the partner list was dropped here.
    void PartnerDropped();
    void FilesDropped(std::vector<std::string> paths);

protected:
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Acceptable(const QMimeData* mime) const;

    const LayerListBox* partner_ = nullptr;
    Qt::Key deleteKey_;
};

class LayerLists : public QGroupBox {
    Q_OBJECT
public:
    LayerLists(AppCore& app, QWidget* parent);

    // The active list from the job's layers; refilled lines come without a
    // selection, unchanged ones keep it.
    void ShowJob();
    // No job: the active list empties; the stored list stays.
    void Clear();
    // "Load Vector Layer" from the layer library (button popup, menu, properties popup).
    void LoadLayer();

private:
    void BuildButtons(QGridLayout* grid);
    void BuildPopups();
    void AddLayerFile(const std::string& path);
    void DeleteSelected();
    void Move(int step);
    void Park();
    void Unpark();
    void RemoveStoredLine();
    void SelectActive(int row);
    void RefreshSelection();
    // Information line for the selection of `list`; with `dialog` the layer
    // preview follows.
    void LayerInfo(LayerListBox* list, bool dialog);
    void FillHistoryPopup();
    void FilesDropped(std::vector<std::string> paths);

    AppCore& app_;
    std::vector<std::string> stored_;
    LayerListBox *emflistbox_, *ListBox1_;
    QLabel* label_layerprops_;
    QPushButton *SpeedButton110_, *dkillemf_, *dShoveUp_, *dShoveDown_, *demfpreview_;
    QMenu *PopupEMFhist_, *PopupEMFprops_;
};

}  // namespace corvan
