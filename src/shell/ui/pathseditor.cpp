#include "shell/ui/pathseditor.h"

#include "shell/appcore.h"
#include "platform/paths.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvan {

namespace {

struct Field {
    const char* value;
    const char* name;
    const char* label;
};

struct FieldGroup {
    const char* title;
    Field fields[4];
};

constexpr FieldGroup kGroups[] = {
    {"Work files",
     {{"DocumentDir", "dirDocumentDir", "&Documents:"},
      {"ImageDir", "dirImageDir", "&Images:"},
      {"EMFDir", "dirEMFdir", "&Layer Files"},
      {}}},
    {"System Files",
     {{"ProfileDir", "dirProfiledir", "&Profiles:"},
      {"DataDir", "dirDatadir", "D&ata Files:"},
      {"CacheDir", "dirCacheDir", "&Cached:"},
      {"TempDir", "dirTempdir", "&Temp Files:"}}},
    {"Output",
     {{"RipDir", "dirRipdir", "&Ripped Files:"},
      {"CutDir", "dirCutdir", "C&utfiles:"},
      {"SpoolDir", "dirspooldir", "&Spool Files:"},
      {}}},
};

// The order in which "OK" stores the folders.
constexpr const char* kStoreOrder[] = {"DocumentDir", "ImageDir", "EMFDir", "ProfileDir",
                                       "DataDir",     "CacheDir", "RipDir", "CutDir",
                                       "SpoolDir",    "TempDir"};

}  // namespace

Tfpaths::Tfpaths(UserInterface& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("fpaths"));
    setWindowTitle(QStringLiteral("System Path Editor"));
    setMinimumWidth(560);
    auto* v = new QVBoxLayout(this);
    for (const FieldGroup& g : kGroups) {
        auto* box = new QGroupBox(QString::fromUtf8(g.title), this);
        auto* form = new QFormLayout(box);
        for (const Field& f : g.fields) {
            if (!f.value) continue;
            auto* row = new QHBoxLayout;
            auto* edit = new QLineEdit(this);
            edit->setObjectName(QString::fromUtf8(f.name));
            auto* browse = new QToolButton(this);
            browse->setText(QStringLiteral("..."));
            browse->setToolTip(QStringLiteral("Select Default Path"));
            connect(browse, &QToolButton::clicked, this, [this, edit] {
                const QString dir = QFileDialog::getExistingDirectory(
                    this, QStringLiteral("Select Default Path"), edit->text());
                if (!dir.isEmpty()) edit->setText(dir + QLatin1Char('/'));
            });
            row->addWidget(edit, 1);
            row->addWidget(browse);
            // A label made here gets the edit as its buddy, so its mnemonic works.
            auto* label = new QLabel(QString::fromUtf8(f.label), this);
            label->setBuddy(edit);
            form->addRow(label, row);
            fields_[f.value] = edit;
        }
        v->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* def = buttons->addButton(QStringLiteral("De&fault"), QDialogButtonBox::ResetRole);
    def->setToolTip(QStringLiteral("Restore Factory Settings"));
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setToolTip(QStringLiteral("Update Paths"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setToolTip(QStringLiteral("Forget It"));
    connect(def, &QPushButton::clicked, this, &Tfpaths::RestoreDefaults);
    connect(ok, &QPushButton::clicked, this, &Tfpaths::Confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    v->addWidget(buttons);
    FillFromSettings();
}

void Tfpaths::FillFromSettings() {
    for (auto& [name, edit] : fields_) {
        const QString path = QString::fromStdString(ReadPath(name));
        edit->setText(path);
        edit->setToolTip(path);
    }
}

void Tfpaths::showEvent(QShowEvent* event) {
    FillFromSettings();
    QDialog::showEvent(event);
}

std::map<std::string, std::string> Tfpaths::Values() const {
    std::map<std::string, std::string> out;
    for (const auto& [name, edit] : fields_) out[name] = edit->text().toStdString();
    return out;
}

void Tfpaths::SetValue(const std::string& name, const std::string& folder) {
    if (auto it = fields_.find(name); it != fields_.end())
        it->second->setText(QString::fromStdString(folder));
}

void Tfpaths::RestoreDefaults() {
    for (auto& [name, edit] : fields_) edit->setText(QString::fromStdString(DefaultPath(name)));
}

void Tfpaths::Confirm() {
    if (ui_.AskYesNo("Update System Paths?"))
        for (const char* name : kStoreOrder)
            WritePath(name, fields_.at(name)->text().toStdString());
    accept();
}

bool ShowPathEditor(UserInterface& ui, QWidget* parent) {
    Tfpaths dlg(ui, parent);
    return dlg.exec() == QDialog::Accepted;
}

}  // namespace corvan
