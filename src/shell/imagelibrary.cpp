#include "shell/imagelibrary.h"

#include "platform/folders.h"
#include "platform/history.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "platform/userinterface.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace corvan {

namespace {

constexpr const char* kListNames[2][2] = {{"combohistory", "combo_emfhistory"},
                                          {"comboFilename", "combo_EMFfilename"}};

std::string HistoryFile() {
    return ConfigFolder() + "loadpic.ini";
}

std::vector<std::string> ReadList(const IniFile& ini, const char* name) {
    std::vector<std::string> out;
    const int count = ini.ReadInteger(name, "Count", 0);
    for (int i = 0; i < count && out.size() < kHistoryEntries; ++i) {
        const std::string item = ini.ReadString(name, "Item" + std::to_string(i));
        if (!item.empty()) out.push_back(item);
    }
    return out;
}

void WriteList(IniFile& ini, const char* name, const std::vector<std::string>& items) {
    ini.DeleteSection(name);
    ini.WriteInteger(name, "Count", static_cast<std::int64_t>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i)
        ini.WriteString(name, "Item" + std::to_string(i), items[i]);
}

const char* kNoLibrary = "You Need to specify the Location for you Image Files...";

}  // namespace

LibraryHistory LibraryHistory::Load() {
    IniFile ini(HistoryFile());
    ini.Load();
    LibraryHistory h;
    for (int m = 0; m < 2; ++m) {
        h.dirs[m] = ReadList(ini, kListNames[0][m]);
        h.files[m] = ReadList(ini, kListNames[1][m]);
    }
    h.rememberLast = ini.ReadBool("cLastDir", "Checked", true);
    return h;
}

bool LibraryHistory::Store() const {
    ForceFolders(ConfigFolder());
    IniFile ini(HistoryFile());
    ini.Load();
    for (int m = 0; m < 2; ++m) {
        WriteList(ini, kListNames[0][m], dirs[m]);
        WriteList(ini, kListNames[1][m], files[m]);
    }
    ini.WriteBool("cLastDir", "Checked", rememberLast);
    return ini.Save();
}

void LibraryHistory::AddDir(LibraryMode mode, const std::string& folder) {
    MoveToTop(dirs[static_cast<int>(mode)], WithTrailingSlash(folder), kHistoryEntries, true);
}

void LibraryHistory::AddFile(LibraryMode mode, const std::string& path) {
    MoveToTop(files[static_cast<int>(mode)], path, kHistoryEntries, true);
}

std::string ImageFilesFolder() {
    const std::string folder = ReadRegString("ImageFiles", "");
    if (folder.empty() || !QFileInfo(QString::fromStdString(folder)).isDir()) return {};
    return WithTrailingSlash(folder);
}

void SetImageFilesFolder(const std::string& folder) {
    WriteRegString("ImageFiles", folder);
}

std::string LibrarySizeText(std::int64_t bytes) {
    QLocale locale;
    const double kb = static_cast<double>(bytes) / 1024.0;
    if (kb > 999)
        return locale.toString(static_cast<double>(bytes) / 1048576.0, 'f', 2).toStdString() +
               " mb";
    return locale.toString(kb, 'f', 2).toStdString() + " Kb";
}

bool PreviewAllowed(std::int64_t bytes, bool bigFiles) {
    return bigFiles || bytes / 1024 <= 5120;
}

bool ThumbnailAllowed(std::int64_t bytes, bool bigFiles) {
    return bigFiles || bytes <= 5242880;
}

std::optional<std::string> CopyToImageFiles(
    UserInterface& ui, const std::string& file,
    const std::function<std::optional<std::string>()>& askFolder) {
    std::string library = ImageFilesFolder();
    if (library.empty()) {
        ui.ShowWarning(kNoLibrary);
        if (const auto chosen = askFolder(); chosen && !chosen->empty()) {
            ui.ShowInfo("ImageFiles set to:\r" + *chosen);
            SetImageFilesFolder(*chosen);
        }
        library = ImageFilesFolder();
        if (library.empty()) return std::nullopt;
    }
    if (!ui.AskYesNo("Copy file: \r\r" + file + "\r" + "to ImageFiles Location?" + "\r\r" +
                     library))
        return std::nullopt;
    const std::string target =
        library + QFileInfo(QString::fromStdString(file)).fileName().toStdString();
    if (target != file) {
        if (FileExists(target) &&
            !ui.AskYesNo("Replace the file in the image library?\r\r" + target))
            return std::nullopt;
        QFile::remove(QString::fromStdString(target));
        if (!QFile::copy(QString::fromStdString(file), QString::fromStdString(target))) {
            ui.ShowError("Unable to copy " + file + " to " + target);
            return std::nullopt;
        }
    }
    ui.ShowInfo("File copied to \r\r" + target);
    return target;
}

}  // namespace corvan
