#include "placement/cropmarks.h"

#include "placement/placementops.h"
#include "platform/bmpfile.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>

namespace corvan {

namespace {

std::optional<std::vector<std::uint8_t>> ReadAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray b = f.readAll();
    return std::vector<std::uint8_t>(b.begin(), b.end());
}

}  // namespace

CropMarkLibrary::CropMarkLibrary() = default;

void CropMarkLibrary::LoadCropMarks() {
    LogLine("LoadCropMarks:");
    items_.clear();
    previews_.clear();
    selected_ = -1;
    const std::string dir = ReadPath("DataDir");
    if (dir.empty()) return;
    const QStringList names =
        QDir(QString::fromStdString(dir))
            .entryList({"*.mrk", "*.MRK", "*.Mrk"}, QDir::Files | QDir::Hidden,
                       QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const std::string path = dir + name.toStdString();
        auto bytes = ReadAll(path);
        if (!bytes || !HasCropMarkSignature(*bytes)) continue;
        std::string reason;
        auto file = ParseCropMarkFile(*bytes, &reason);
        if (!file) {
            LogLine("Error : Load Cropmark LIst " + path + ": " + reason);
            continue;
        }
        auto preview = DecodeBmp(file->preview);
        items_.push_back(path);
        previews_.push_back(preview ? std::move(preview->pixels) : nullptr);
    }
    if (!items_.empty()) selected_ = 0;
    LogLine("LoadCropMarks: OK");
}

std::optional<float> CropMarkLibrary::ApplyCropMark(const std::string& path) {
    const std::string full = ReadPath("DataDir") + FileNamePart(path);
    if (!FileExists(full)) {
        LogLine("Cropmark not found: " + full);
        return std::nullopt;
    }
    for (auto& c : corners_) c.clear();
    applied_ = true;
    appliedFile_ = FileNamePart(path);
    auto bytes = ReadAll(full);
    if (!bytes) return std::nullopt;
    std::string reason;
    auto file = ParseCropMarkFile(*bytes, &reason);
    if (!file) {
        LogLine("Cropmark unusable: " + full + ": " + reason);
        return std::nullopt;
    }
    corners_ = std::move(file->corners);
    lastSize_ = file->size;
    return file->size;
}

std::string CropMarkLibrary::SelectedFileName() const {
    return appliedFile_;
}

void CropMarkLibrary::SelectCropMarkFile(const std::string& name) {
    if (name.empty()) return;
    const std::string full = ReadPath("DataDir") + FileNamePart(name);
    ApplyCropMark(full);
    // A project naming a file this machine lacks keeps the name, so saving
    // it again does not lose the operator's choice.
    appliedFile_ = FileNamePart(name);
    selected_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == full) selected_ = static_cast<int>(i);
}

void ChooseCropMark(JobSession& app, CropMarkLibrary& library, int index) {
    if (index < 0 || index >= static_cast<int>(library.Items().size())) return;
    library.SetSelectedIndex(index);
    const auto size = library.ApplyCropMark(library.Items()[static_cast<std::size_t>(index)]);
    if (!app.CurrentJob || app.Updating) return;
    if (size) app.CurrentJob->CropmarkSize = *size;
    UpdateLayout(app, true);
}

}  // namespace corvan
