#include "platform/paths.h"

#include "platform/folders.h"
#include "platform/registry.h"

namespace corvan {

namespace {

// Program-folder subfolder names of the defaults.
const char* DefaultSubfolder(const std::string& name) {
    if (name == "DocumentDir") return "Documents";
    if (name == "ImageDir") return "Images";
    if (name == "EMFDir") return "Layers";
    if (name == "ProfileDir") return "Profiles";
    if (name == "DataDir") return "Data";
    if (name == "CacheDir") return "Cache";
    if (name == "RipDir") return "Ripped";
    if (name == "CutDir") return "Cutfiles";
    return nullptr;
}

std::string SubfolderOrProgramFolder(const char* sub) {
    const std::string program = ProgramFolder();
    if (sub) {
        const std::string candidate = program + sub + "/";
        if (FolderExists(candidate)) return candidate;
    }
    return program;
}

}  // namespace

std::string DefaultPath(const std::string& name) {
    if (name == "TempDir") {
        const std::string temp = SystemTempFolder();
        return FolderExists(temp) ? temp : ProgramFolder();
    }
    if (name == "SpoolDir") {
        const std::string spool = SystemSpoolFolder();
        return FolderExists(spool) ? spool : ProgramFolder();
    }
    if (name == "CutDir") {
        const std::string spooler = CutterSpoolFolder();
        if (FolderExists(spooler)) return spooler;
    }
    return SubfolderOrProgramFolder(DefaultSubfolder(name));
}

std::string ReadPath(const std::string& name) {
    std::string text = ReadRegRaw(name);
    if (!FolderExists(text)) text = DefaultPath(name);
    return WithTrailingSlash(text);
}

void WritePath(const std::string& name, const std::string& folder) {
    std::string text = folder;
    if (!text.empty()) {
        text = WithTrailingSlash(text);
        if (!FolderExists(text) && !ForceFolders(text)) text.clear();
    }
    WriteRegString(name, text);
}

}  // namespace corvan
