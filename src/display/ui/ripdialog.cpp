#include "display/ui/ripdialog.h"

#include "job/projectfile.h"

#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

namespace corvan {

namespace {

// Wide enough for the largest page size text a job can have.
constexpr int kPanelMinSide = 100;
const char* const kWidestSizeText = "3937.01 x 3937.01 in.";

QString SizeText(const ProjectPreview& preview) {
    return QString::asprintf("%.2f x %.2f in.", static_cast<double>(preview.pageWidth) / 25.4,
                             static_cast<double>(preview.pageHeight) / 25.4);
}

}  // namespace

QRect PictureRect(QSize picture, QSize box) {
    const qint64 pw = picture.width(), ph = picture.height();
    const qint64 bw = box.width(), bh = box.height();
    if (pw <= bw && ph <= bh)
        return QRect(static_cast<int>((bw - pw) / 2), static_cast<int>((bh - ph) / 2),
                     static_cast<int>(pw), static_cast<int>(ph));
    if (pw > ph) return QRect(0, 0, static_cast<int>(bw), static_cast<int>(ph * bw / pw));
    return QRect(0, 0, static_cast<int>(pw * bh / ph), static_cast<int>(bh));
}

RipPaintBox::RipPaintBox(const QImage& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setObjectName(QStringLiteral("PaintBox"));
    setAutoFillBackground(true);
}

void RipPaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_.isNull()) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("(None)"));
        return;
    }
    p.drawImage(PictureRect(picture_.size(), size()), picture_);
}

TopenRipDialog::TopenRipDialog(QWidget* parent) : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setWindowTitle(QStringLiteral("Load RIP Project File"));
    setNameFilter(QStringLiteral("RIP Project File (*.RIP)"));
    setDefaultSuffix(QStringLiteral("RIP"));
    setFileMode(QFileDialog::ExistingFile);
    // Room for the name, size, type and date columns beside the panel.
    resize(900, 480);
    // Qt's dialog lays its controls out on a grid: the panel takes a column
    // of its own at the right, over all rows.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(BuildPanel(), 0, grid->columnCount(), grid->rowCount(), 1);
    FitDetailColumns();
    connect(this, &QFileDialog::currentChanged, this, &TopenRipDialog::ShowPreview);
}

// The detail view's size, type and date columns take what their contents
// need, the name column the rest, so no heading or value is cut short.
void TopenRipDialog::FitDetailColumns() {
    auto* details = findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details) return;
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
}

QWidget* TopenRipDialog::BuildPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PicturePanel"));
    panel->setFrameShape(QFrame::NoFrame);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 6 + 4, 6, 6);
    column->setSpacing(0);

    label_ = new QLabel(QStringLiteral("Picture:"), panel);
    label_->setObjectName(QStringLiteral("PictureLabel"));
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setFixedHeight(23);
    column->addWidget(label_);

    auto* paintPanel = new QFrame(panel);
    paintPanel->setObjectName(QStringLiteral("PaintPanel"));
    paintPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    paintPanel->setLineWidth(2);
    auto* inside = new QVBoxLayout(paintPanel);
    inside->setContentsMargins(2, 2, 2, 2);
    paintBox_ = new RipPaintBox(picture_, paintPanel);
    inside->addWidget(paintBox_);
    column->addWidget(paintPanel);
    column->addStretch(1);

    // A square box, as wide as the longest size text needs.
    const int width =
        std::max(kPanelMinSide, label_->fontMetrics().horizontalAdvance(kWidestSizeText) + 12);
    panel->setMinimumSize(width, kPanelMinSide);
    paintPanel->setFixedHeight(width - 12);
    return panel;
}

void TopenRipDialog::ShowPreview(const QString& path) {
    if (auto preview = ReadProjectPreview(path.toStdString())) {
        picture_ = preview->thumbnail ? preview->thumbnail->View().copy() : QImage();
        label_->setText(SizeText(*preview));
    } else {
        picture_ = QImage();
        label_->setText(QStringLiteral("Picture:"));
    }
    paintBox_->update();
}

void TopenRipDialog::showEvent(QShowEvent* event) {
    picture_ = QImage();
    paintBox_->update();
    QFileDialog::showEvent(event);
}

void TopenRipDialog::done(int result) {
    QToolTip::hideText();
    QFileDialog::done(result);
}

TsaveRipDialog::TsaveRipDialog(QWidget* parent) : TopenRipDialog(parent) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setWindowTitle(QStringLiteral("Save RIP Project File"));
}

}  // namespace corvan
