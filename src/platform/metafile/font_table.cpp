#include "platform/metafile/font_table.h"

#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/metafile/gdi_text.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QHash>

#include <mutex>

namespace corvan::emf {

std::vector<FontSubstitute> ParseFontTable(const QString& text) {
    std::vector<FontSubstitute> rows;
    for (const QString& line : text.split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
        const QStringList f = line.split('\t');
        if (f.size() < 2 || f[0].trimmed().isEmpty() || f[1].trimmed().isEmpty()) continue;
        FontSubstitute row{f[0].trimmed(), f[1].trimmed(), f.value(2).trimmed(),
                           f.value(3).trimmed().toInt(), f.value(4).trimmed(), {}};
        for (const QString& file : f.value(5).split(',', Qt::SkipEmptyParts))
            row.files.append(file.trimmed());
        rows.push_back(std::move(row));
    }
    return rows;
}

const std::vector<FontSubstitute>& FontTable() {
    static const std::vector<FontSubstitute> table = [] {
        QFile file(QString::fromStdString(InstalledDataFolder() + "Data/FontSubstitutes.tsv"));
        if (!file.open(QIODevice::ReadOnly)) {
            LogLine("fonts: no substitution table at " + file.fileName().toStdString());
            return std::vector<FontSubstitute>{};
        }
        return ParseFontTable(QString::fromUtf8(file.readAll()));
    }();
    return table;
}

const FontSubstitute* FindSubstitute(const QString& face) {
    for (const FontSubstitute& row : FontTable())
        if (row.face.compare(face.trimmed(), Qt::CaseInsensitive) == 0) return &row;
    return nullptr;
}

namespace {

bool Same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString Resolve(const QString& face) {
    const FontSubstitute* row = FindSubstitute(face);
    const QString wanted = row ? row->substitute : face;
    // Asking for one family is far cheaper than listing them all.
    QString drawn = DrawnFamily(wanted);
    if (row && !Same(drawn, wanted) && !row->files.isEmpty()) {
        for (const QString& file : row->files)
            if (QFileInfo::exists(file)) RegisterFontFile(file);
        drawn = DrawnFamily(wanted);
    }
    if (!Same(drawn, wanted)) {
        LogLine("fonts: '" + face.toStdString() + "' is drawn with the fallback '" +
                drawn.toStdString() + "'" +
                (row ? " (install " + row->package.toStdString() + ")" : std::string()));
    }
    return wanted;
}

}  // namespace

QString DrawnFamily(const QString& family) {
    QString drawn = QFontInfo(QFont(family)).family();
    const qsizetype foundry = drawn.indexOf(" [");
    return foundry > 0 && drawn.endsWith(']') ? drawn.left(foundry) : drawn;
}

QString ResolvedFamily(const QString& face) {
    static std::mutex mutex;
    static QHash<QString, QString> known;
    const QString key = face.trimmed().toLower();
    std::lock_guard lock(mutex);
    auto it = known.constFind(key);
    if (it != known.constEnd()) return *it;
    return *known.insert(key, Resolve(face));
}

}  // namespace corvan::emf
