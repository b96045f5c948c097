#include "rip/ui/preflightdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvan {

Tfpreflight::Tfpreflight(const PreflightData& data, QWidget* parent, PreviewOpener openPreview)
    : QDialog(parent), data_(data) {
    setObjectName(QStringLiteral("fpreflight"));
    setWindowTitle(QStringLiteral("Preflight Job Summary"));
    resize(620, 480);
    auto* v = new QVBoxLayout(this);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("memo"));
    memo_->setReadOnly(true);
    // The report aligns its values with tabs and draws rules of dashes: its
    // captions followed by two tabs are at most 9 characters, those with one
    // tab 10 to 13, so fixed-pitch stops of 10 characters line the values up.
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo_->setTabStopDistance(memo_->fontMetrics().horizontalAdvance(QStringLiteral("xxxxxxxxxx")));
    QStringList lines;
    for (const std::string& line : data.memo) lines << QString::fromStdString(line);
    memo_->setPlainText(lines.join(QLatin1Char('\n')));
    v->addWidget(memo_, 1);

    status_ = new QLabel(QString::fromStdString(data.status), this);
    status_->setObjectName(QStringLiteral("labelstatus"));
    status_->setToolTip(QString::fromStdString(data.statusHint));
    if (data.statusWarning) status_->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    v->addWidget(status_);

    auto* form = new QFormLayout;
    printJobText_ = new QCheckBox(QStringLiteral("Print &Job information"), this);
    printJobText_->setObjectName(QStringLiteral("cPrintJobText"));
    printJobText_->setChecked(data.printJobText && data.printJobTextEnabled);
    printJobText_->setEnabled(data.printJobTextEnabled);
    jobText_ = new QLineEdit(QString::fromStdString(data.jobText), this);
    jobText_->setObjectName(QStringLiteral("editjobtext"));
    form->addRow(QString(), printJobText_);
    form->addRow(QStringLiteral("Job &Text:"), jobText_);
    v->addLayout(form);
    connect(printJobText_, &QCheckBox::toggled, this, &Tfpreflight::JobTextBoxChanged);
    JobTextBoxChanged(printJobText_->isChecked());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* preview =
        buttons->addButton(QStringLiteral("&Preview"), QDialogButtonBox::ActionRole);
    preview->setObjectName(QStringLiteral("dpreview"));
    preview->setEnabled(static_cast<bool>(openPreview));
    if (openPreview)
        connect(preview, &QPushButton::clicked, this, [this, openPreview] { openPreview(this); });
    QPushButton* rip = buttons->addButton(QStringLiteral("&RIP"), QDialogButtonBox::AcceptRole);
    rip->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);
}

void Tfpreflight::JobTextBoxChanged(bool on) {
    jobText_->setEnabled(on);
}

PreflightData Tfpreflight::Data() const {
    PreflightData d = data_;
    d.jobText = jobText_->text().toStdString();
    d.printJobText = printJobText_->isChecked();
    return d;
}

bool ShowPreflight(QWidget* parent, PreflightData& data, Tfpreflight::PreviewOpener preview) {
    Tfpreflight dlg(data, parent, std::move(preview));
    if (dlg.exec() != QDialog::Accepted) return false;
    data = dlg.Data();
    return true;
}

}  // namespace corvan
