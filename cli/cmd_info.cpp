#include "command.h"

#include "platform/folders.h"
#include "platform/metafile/font_table.h"
#include "platform/debuglog.h"
#include "platform/paths.h"

#include <iomanip>
#include <iostream>

namespace corvan::cli {
namespace {

// The face substitution table and what each face is drawn with here.
int PrintFonts() {
    const auto& table = emf::FontTable();
    if (table.empty())
        return Failure("no font substitution table in " + InstalledDataFolder() + "Data/");
    std::cout << std::left << std::setw(18) << "face" << std::setw(20) << "substitute"
              << std::setw(12) << "match" << std::setw(26) << "package" << "drawn with\n";
    for (const emf::FontSubstitute& row : table) {
        const QString drawn = emf::DrawnFamily(emf::ResolvedFamily(row.face));
        const bool fallback = drawn.compare(row.substitute, Qt::CaseInsensitive) != 0;
        std::cout << std::setw(18) << row.face.toStdString() << std::setw(20)
                  << row.substitute.toStdString() << std::setw(12) << row.match.toStdString()
                  << std::setw(26) << row.package.toStdString() << drawn.toStdString()
                  << (fallback ? " (fallback: substitute not installed)" : "") << "\n";
    }
    return kOk;
}

int RunInfo(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--fonts") return PrintFonts();
    if (!args.empty()) return UsageError("info takes no arguments but --fonts");
    std::cout << "CorvanRIP SE " << CORVAN_VERSION << "\n";
    std::cout << "Program folder: " << ProgramFolder() << "\n";
    std::cout << "Data files:     " << InstalledDataFolder() << "\n";
    std::cout << "Settings:       " << RegistryFile() << "\n";
    for (const char* name : kFolderValueNames)
        std::cout << std::left << std::setw(12) << name << "    " << ReadPath(name) << "\n";
    if (LogEnabled())
        std::cout << "Logging:        on, " << DebugLogPath() << "\n";
    else
        std::cout << "Logging:        off (no Debug.txt in the program folder)\n";
    return kOk;
}

CommandRegistrar reg({"info",
                      "[--fonts]             version, program folder, folders, logging\n"
                      "                       (--fonts: the font substitution table and the "
                      "faces drawn)",
                      &RunInfo});

}  // namespace
}  // namespace corvan::cli
