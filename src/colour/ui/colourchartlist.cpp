// The colour list of the chart manager: swatches, clicking, searching and
// sorting.
#include "colour/colourchart.h"
#include "colour/ui/colourchartdialog.h"
#include "colour/ui/colourfields.h"
#include "platform/ui/widgetnames.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

#include <algorithm>
#include <vector>

namespace corvan {

namespace {

constexpr int kSwatchRole = Qt::UserRole;     // 0x00BBGGRR
constexpr int kOrderRole = Qt::UserRole + 1;  // position in the chart file

// One colour: a swatch, a silver line under the item and the name.
class SwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QRect r = option.rect;
        p->save();
        p->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        const QRect swatch(QPoint(r.left() + 3, r.top() + 3), QPoint(r.left() + 21, r.top() + 12));
        p->fillRect(swatch, ToQColor(index.data(kSwatchRole).toUInt()));
        // A thin frame keeps white and very light swatches visible.
        p->setPen(QColor(128, 128, 128));
        p->drawRect(swatch.adjusted(0, 0, -1, -1));
        p->setPen(QColor(192, 192, 192));
        p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(QRect(r.left() + 25, r.top() + 1, r.width() - 26, r.height() - 1),
                    Qt::AlignLeft | Qt::AlignTop, index.data().toString());
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index)
            .expandedTo(QSize(0, std::max(16, option.fontMetrics.height() + 3)));
    }
};

}  // namespace

void ColourChartDialog::UseSwatchDelegate(QListWidget* list) {
    list->setItemDelegate(new SwatchDelegate(list));
}

void ColourChartDialog::SetSwatch(QListWidgetItem* item, std::uint32_t swatch) {
    item->setData(kSwatchRole, swatch);
}

QListWidgetItem* ColourChartDialog::AddColourItem(const std::string& name, std::uint32_t swatch) {
    auto* item = new QListWidgetItem(QString::fromStdString(name));
    SetSwatch(item, swatch);
    item->setData(kOrderRole, nextOrder_++);
    ListBox1_->addItem(item);
    return item;
}

int ColourChartDialog::SelectedRow() const {
    QListWidgetItem* current = ListBox1_->currentItem();
    return current && current->isSelected() ? ListBox1_->row(current) : -1;
}

void ColourChartDialog::ClearSelection() {
    ListBox1_->setCurrentRow(-1);
    ListBox1_->clearSelection();
    // The button says what it will do: with nothing selected it adds.
    dupdate_->setText(QStringLiteral("Add"));
}

void ColourChartDialog::ClickColour(QListWidgetItem* item) {
    if (!item) return;
    const QString name = item->text();
    SetLoading(true);
    ListBox1_->setCurrentItem(item);
    ListBox1_->scrollToItem(item);
    Edit1_->setText(name);
    Edit1_->setFocus();
    Edit1_->selectAll();
    SetModified(false);
    dupdate_->setText(QStringLiteral("Update"));
    editName_->setText(name);
    const auto value = ReadChartValue(chartPath_, name.toStdString());
    const auto lab = value ? ParseChartValue(*value) : std::nullopt;
    if (lab)
        fields_->ShowLabColor(*lab);
    else
        fields_->Clear();
    SetLoading(false);
}

void ColourChartDialog::SearchStep(bool up) {
    const int count = ListBox1_->count();
    if (count == 0) return;
    int row = SelectedRow();
    if (row < 0) {
        row = 0;
        const QString wanted = Edit1_->text();
        for (int i = 0; i < count; ++i)
            if (ListBox1_->item(i)->text().startsWith(wanted, Qt::CaseInsensitive)) {
                row = i;
                break;
            }
    } else {
        row = std::clamp(up ? row - 1 : row + 1, 0, count - 1);
    }
    ClickColour(ListBox1_->item(row));
}

void ColourChartDialog::Reorder() {
    const bool byName = dsort_->isChecked();
    std::vector<QListWidgetItem*> items;
    while (ListBox1_->count() > 0) items.push_back(ListBox1_->takeItem(0));
    std::stable_sort(items.begin(), items.end(), [byName](QListWidgetItem* a, QListWidgetItem* b) {
        if (byName) return a->text().compare(b->text(), Qt::CaseInsensitive) < 0;
        return a->data(kOrderRole).toInt() < b->data(kOrderRole).toInt();
    });
    for (QListWidgetItem* item : items) ListBox1_->addItem(item);
}

void ColourChartDialog::SortToggled() {
    ClearSelection();
    Reorder();
    SearchStep(false);
}

}  // namespace corvan
