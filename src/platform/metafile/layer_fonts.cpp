#include "platform/metafile/layer_fonts.h"

#include "platform/debuglog.h"
#include "platform/metafile/emf_player.h"
#include "platform/metafile/gdi_text.h"

#include <QFile>
#include <QFontDatabase>

namespace corvan::emf {
namespace {

bool SystemHas(const QString& face) {
    const QStringList families = QFontDatabase::families();
    return families.contains(face, Qt::CaseInsensitive) ||
           families.contains(SubstituteFace(face), Qt::CaseInsensitive);
}

}  // namespace

std::vector<std::string> InstallLayerFonts(const std::string& path, const std::string& folder) {
    std::vector<std::string> registered;
    for (const std::string& name : ListLayerFonts(path)) {
        const QString face = QString::fromStdString(name);
        if (SystemHas(face)) continue;
        const std::string base = folder + name;
        const std::string files[] = {base + ".TTF", base + "_Bold.TTF", base + "_Italic.TTF",
                                     base + "_BoldItalic.TTF"};
        for (const std::string& file : files) {
            // Only the plain file is tried whether or not it exists.
            if (&file != &files[0] && !QFile::exists(QString::fromStdString(file))) continue;
            if (RegisterFontFile(QString::fromStdString(file)).isEmpty()) continue;
            LogLine("Layer font registered: " + file);
            registered.push_back(file);
        }
    }
    return registered;
}

}  // namespace corvan::emf
