#include "shell/ui/layerlists.h"

#include "display/ui/emfshow.h"
#include "platform/folders.h"
#include "platform/ui/widgetnames.h"
#include "shell/appcore.h"
#include "shell/layercommands.h"
#include "shell/ui/application.h"
#include "shell/ui/filedroptarget.h"
#include "shell/ui/helppopup.h"

#include <QApplication>
#include <QDrag>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace corvan {

namespace {

// A line dragged between the two lists carries the name of the list it left.
const QString kLayerLineMime = QStringLiteral("application/x-corvanrip-layer-line");
constexpr int kLineHeight = 16;

// Two sheets, one over the other: the layer icon of both lists.
QPixmap LayerIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(170, 200, 240));
    p.drawRect(1, 1, 10, 10);
    p.setBrush(QColor(250, 200, 90));
    p.drawRect(4, 4, 10, 10);
    return pm;
}

// Icon at 2 pixels from the left, "n." at 30, the path at 50.
class LayerLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        static const QPixmap icon = LayerIcon();
        const QRect r = option.rect;
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QPalette& pal = option.palette;
        p->fillRect(r, selected ? pal.highlight() : pal.base());
        p->drawPixmap(r.left() + 2, r.top() + (r.height() - 16) / 2, icon);
        p->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
        p->setFont(option.font);
        const QRect text = r.adjusted(0, 0, -2, 0);
        p->drawText(text.adjusted(30, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    QStringLiteral("%1.").arg(index.row() + 1));
        p->drawText(text.adjusted(50, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    index.data().toString());
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        // The lines are 16 pixels high unless the font needs more.
        const int h = std::max(kLineHeight, option.fontMetrics.height() + 2);
        return {50 + option.fontMetrics.horizontalAdvance(index.data().toString()) + 4, h};
    }
};

std::vector<std::string> Lines(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
}

}  // namespace

LayerListBox::LayerListBox(const char* name, Qt::Key deleteKey, QWidget* parent)
    : QListWidget(parent), deleteKey_(deleteKey) {
    setObjectName(QString::fromUtf8(name));
    setItemDelegate(new LayerLineDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setMouseTracking(true);
}

void LayerListBox::Fill(const std::vector<std::string>& paths) {
    clear();
    for (const std::string& path : paths) {
        auto* item = new QListWidgetItem(QString::fromStdString(path), this);
        // The hint under the mouse is the line's path.
        item->setToolTip(item->text());
    }
}

bool LayerListBox::FromPartner(const QMimeData* mime) const {
    return partner_ && mime && mime->hasFormat(kLayerLineMime) &&
           QString::fromUtf8(mime->data(kLayerLineMime)) == partner_->objectName();
}

bool LayerListBox::Acceptable(const QMimeData* mime) const {
    return FromPartner(mime) || !DroppedFiles(mime).empty();
}

QMimeData* LayerListBox::LineMime() const {
    auto* mime = new QMimeData;
    mime->setData(kLayerLineMime, objectName().toUtf8());
    return mime;
}

void LayerListBox::startDrag(Qt::DropActions) {
    if (!currentItem()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(LineMime());
    // The receiving list moves the layer itself; the view must not remove
    // the line on its own afterwards.
    drag->exec(Qt::CopyAction);
}

void LayerListBox::dragEnterEvent(QDragEnterEvent* event) {
    if (Acceptable(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void LayerListBox::dragMoveEvent(QDragMoveEvent* event) {
    if (Acceptable(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void LayerListBox::dropEvent(QDropEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (FromPartner(mime)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        Q_EMIT PartnerDropped();
    } else if (std::vector<std::string> files = DroppedFiles(mime); !files.empty()) {
        event->acceptProposedAction();
        Q_EMIT FilesDropped(std::move(files));
    } else {
        event->ignore();
    }
}

void LayerListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == deleteKey_ && event->modifiers() == Qt::NoModifier) {
        Q_EMIT DeletePressed();
        return;
    }
    QListWidget::keyPressEvent(event);
}

LayerLists::LayerLists(AppCore& app, QWidget* parent)
    : QGroupBox(QStringLiteral("Vector Layers (Drag && Drop)"), parent), app_(app) {
    auto* grid = new QGridLayout(this);
    emflistbox_ = new LayerListBox("emflistbox", Qt::Key_Backspace, this);
    ListBox1_ = new LayerListBox("ListBox1", Qt::Key_Delete, this);
    emflistbox_->SetPartner(ListBox1_);
    ListBox1_->SetPartner(emflistbox_);
    label_layerprops_ = Named(new QLabel(this), "label_layerprops");
    grid->addWidget(new QLabel(QStringLiteral("Active (Included) Layers:"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Stored Layers (Buffer):"), this), 0, 1);
    grid->addWidget(emflistbox_, 1, 0);
    grid->addWidget(ListBox1_, 1, 1);
    grid->addWidget(label_layerprops_, 2, 0, 1, 2);
    BuildButtons(grid);
    BuildPopups();

    connect(emflistbox_, &QListWidget::itemSelectionChanged, this, &LayerLists::RefreshSelection);
    connect(emflistbox_, &QListWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { LayerInfo(emflistbox_, true); }); });
    connect(ListBox1_, &QListWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { LayerInfo(ListBox1_, true); }); });
    connect(emflistbox_, &LayerListBox::DeletePressed, this, &LayerLists::DeleteSelected);
    connect(ListBox1_, &LayerListBox::DeletePressed, this, &LayerLists::RemoveStoredLine);
    connect(ListBox1_, &LayerListBox::PartnerDropped, this, &LayerLists::Park);
    connect(emflistbox_, &LayerListBox::PartnerDropped, this, &LayerLists::Unpark);
    for (LayerListBox* list : {emflistbox_, ListBox1_})
        connect(list, &LayerListBox::FilesDropped, this, &LayerLists::FilesDropped);
    RefreshSelection();
}

void LayerLists::BuildButtons(QGridLayout* grid) {
    const auto button = [this](const char* name, const char* caption) {
        auto* b = Named(new QPushButton(QString::fromUtf8(caption), this), name);
        b->setAutoDefault(false);
        return b;
    };
    SpeedButton110_ = button("SpeedButton110", "Load Vector Layer");
    dkillemf_ = button("dkillemf", "Delete Layer");
    dShoveUp_ = button("dShoveUp", "Send to Back");
    dShoveDown_ = button("dShoveDown", "Bring Layer to front");
    demfpreview_ = button("demfpreview", "Preview");
    // Two rows, so that the captions stay whole in a narrow control panel.
    const auto row = [&](std::initializer_list<QPushButton*> buttons, QWidget* info, int at) {
        auto* line = new QHBoxLayout;
        for (QPushButton* b : buttons) line->addWidget(b);
        line->addStretch(1);
        line->addWidget(info);
        grid->addLayout(line, at, 0, 1, 2);
    };
    row({SpeedButton110_, dkillemf_, demfpreview_},
        MoreInfoButton(this, app_.Ui(), "SpeedButton16", "EMF Layers"), 3);
    row({dShoveUp_, dShoveDown_}, MoreInfoButton(this, app_.Ui(), "SpeedButton15", "EMF List"), 4);

    connect(SpeedButton110_, &QPushButton::clicked, this,
            [this] { PopupEMFhist_->popup(SpeedButton110_->mapToGlobal(QPoint(0, 22))); });
    connect(dkillemf_, &QPushButton::clicked, this, &LayerLists::DeleteSelected);
    connect(dShoveUp_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(dShoveDown_, &QPushButton::clicked, this, [this] { Move(+1); });
    connect(demfpreview_, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { LayerInfo(emflistbox_, true); }); });
}

void LayerLists::BuildPopups() {
    PopupEMFhist_ = new QMenu(this);
    PopupEMFhist_->setObjectName(QStringLiteral("PopupEMFhist"));
    QAction* load =
        PopupEMFhist_->addAction(QStringLiteral("Load Vector Layer"), this, &LayerLists::LoadLayer);
    load->setObjectName(QStringLiteral("LoadEMFFile1"));
    PopupEMFhist_->addSeparator();
    connect(PopupEMFhist_, &QMenu::aboutToShow, this, &LayerLists::FillHistoryPopup);

    PopupEMFprops_ = new QMenu(this);
    PopupEMFprops_->setObjectName(QStringLiteral("PopupEMFprops"));
    QAction* del =
        PopupEMFprops_->addAction(QStringLiteral("Delete"), this, &LayerLists::DeleteSelected);
    QAction* add = PopupEMFprops_->addAction(QStringLiteral("Load"), this, &LayerLists::LoadLayer);
    QAction* show = PopupEMFprops_->addAction(QStringLiteral("Preview"), this, [this] {
        RunGuarded([this] { LayerInfo(emflistbox_, true); });
    });
    connect(PopupEMFprops_, &QMenu::aboutToShow, this, [this, del, add, show] {
        del->setEnabled(dkillemf_->isEnabled());
        add->setEnabled(app_.CurrentJob != nullptr);  // as the hidden "dloademf" button would be
        show->setEnabled(demfpreview_->isEnabled());
    });
    emflistbox_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(emflistbox_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupEMFprops_->popup(emflistbox_->viewport()->mapToGlobal(at));
    });
}

void LayerLists::FillHistoryPopup() {
    const QList<QAction*> items = PopupEMFhist_->actions();
    for (qsizetype i = 2; i < items.size(); ++i) {
        PopupEMFhist_->removeAction(items[i]);
        delete items[i];
    }
    for (const std::string& path : app_.EmfHist) {
        QAction* a = PopupEMFhist_->addAction(QString::fromStdString(path), this,
                                              [this, path] { AddLayerFile(path); });
        a->setEnabled(FileExists(path));
    }
}

void LayerLists::ShowJob() {
    const std::vector<std::string> layers =
        app_.CurrentJob ? app_.CurrentJob->Layers : std::vector<std::string>{};
    // A change elsewhere in the job leaves the operator's selection alone.
    if (layers != Lines(emflistbox_)) emflistbox_->Fill(layers);
    RefreshSelection();
}

void LayerLists::Clear() {
    emflistbox_->clear();
    RefreshSelection();
}

void LayerLists::LoadLayer() {
    RunGuarded([this] {
        if (LoadLayerCommand(app_)) SelectActive(emflistbox_->count() - 1);
    });
}

void LayerLists::AddLayerFile(const std::string& path) {
    RunGuarded([this, path] {
        if (AddLayer(app_, path)) SelectActive(emflistbox_->count() - 1);
    });
}

void LayerLists::DeleteSelected() {
    RunGuarded([this] { DeleteLayer(app_, emflistbox_->currentRow()); });
}

void LayerLists::Move(int step) {
    QApplication::beep();
    const int row = emflistbox_->selectedItems().isEmpty() ? -1 : emflistbox_->currentRow();
    RunGuarded([this, row, step] {
        if (const int to = MoveLayer(app_, row, step); to >= 0) SelectActive(to);
    });
}

void LayerLists::Park() {
    RunGuarded([this] {
        if (ParkLayer(app_, emflistbox_->currentRow(), stored_)) ListBox1_->Fill(stored_);
    });
}

void LayerLists::Unpark() {
    RunGuarded([this] {
        if (!UnparkLayer(app_, ListBox1_->currentRow(), stored_)) return;
        ListBox1_->Fill(stored_);
        SelectActive(emflistbox_->count() - 1);
    });
}

void LayerLists::RemoveStoredLine() {
    const int row = ListBox1_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= stored_.size()) return;
    stored_.erase(stored_.begin() + row);
    ListBox1_->Fill(stored_);
    ListBox1_->setCurrentRow(std::min(row, ListBox1_->count() - 1));
}

void LayerLists::SelectActive(int row) {
    emflistbox_->setCurrentRow(row);
    RefreshSelection();
}

void LayerLists::RefreshSelection() {
    const int row = emflistbox_->selectedItems().isEmpty() ? -1 : emflistbox_->currentRow();
    const int count = emflistbox_->count();
    dkillemf_->setEnabled(row >= 0);
    demfpreview_->setEnabled(row >= 0);
    dShoveUp_->setEnabled(row > 0);
    dShoveDown_->setEnabled(row >= 0 && row < count - 1);
    LayerInfo(emflistbox_, false);
}

void LayerLists::LayerInfo(LayerListBox* list, bool dialog) {
    label_layerprops_->clear();
    const int row = list->selectedItems().isEmpty() ? -1 : list->currentRow();
    if (!app_.CurrentJob || row < 0) return;
    const std::vector<std::string> paths = Lines(list);
    label_layerprops_->setText(
        QString::fromStdString(LayerInfoLine(row, paths[static_cast<std::size_t>(row)])));
    if (!dialog) return;
    QStringList files;
    for (const std::string& p : paths) files << QString::fromStdString(p);
    const int shown = ShowLayerPreview(window(), files, row);
    if (shown >= 0 && shown < list->count()) list->setCurrentRow(shown);
    if (list == emflistbox_) RefreshSelection();
}

void LayerLists::FilesDropped(std::vector<std::string> paths) {
    DropFilesLater(this, app_, std::move(paths));
}

}  // namespace corvan
