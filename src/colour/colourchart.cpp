#include "colour/colourchart.h"

#include "platform/commatext.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/numbers.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <charconv>

namespace corvan {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
}

void AppendFixed3(std::string& out, double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    out.append(buf, r.ptr);
}

Failure SaveFailure(const IniFile& ini) {
    return Failure{"Unable to save the color chart " + ini.Path() + ":\r" + ini.Error()};
}

// Loads an existing chart for a change; the file must be there.
Outcome<IniFile> OpenForChange(const std::string& path) {
    if (!FileExists(path)) return Failure{"The color chart " + path + " does not exist."};
    IniFile ini(path);
    if (!ini.Load()) return Failure{"Unable to open file!\r" + path};
    return ini;
}

Status Saved(const IniFile& ini) {
    if (!ini.Save()) return SaveFailure(ini);
    return {};
}

}  // namespace

std::string ColourChartFolder() {
    return ReadPath("ProfileDir") + "ColorCharts/";
}

std::vector<ChartListing> ListColourCharts(const std::string& folder) {
    std::vector<ChartListing> charts;
    const QDir dir(QString::fromStdString(folder), QStringLiteral("*.ini"), QDir::Name,
                   QDir::Files | QDir::Readable);
    for (const QString& file : dir.entryList()) {
        const std::string path = dir.filePath(file).toStdString();
        std::string name = GetProfileString(path, kChartInfoSection, kChartNameKey);
        if (!name.empty()) charts.push_back({std::move(name), path});
    }
    std::sort(charts.begin(), charts.end(), [](const ChartListing& a, const ChartListing& b) {
        if (LessNoCase(a.name, b.name)) return true;
        if (LessNoCase(b.name, a.name)) return false;
        return a.name != b.name ? a.name < b.name : a.path < b.path;
    });
    return charts;
}

std::optional<Lab> ParseChartValue(std::string_view value) {
    const std::vector<std::string> fields = SplitCommaText(value);
    if (fields.size() != 3) return std::nullopt;
    const auto L = ParseReal(fields[0]), a = ParseReal(fields[1]), b = ParseReal(fields[2]);
    if (!L || !a || !b) return std::nullopt;
    const auto within = [](double v, double lo, double hi) { return v >= lo && v <= hi; };
    if (!within(*L, 0, 100) || !within(*a, -128, 128) || !within(*b, -128, 128))
        return std::nullopt;
    return Lab{*L, *a, *b};
}

std::string FormatChartValue(const Lab& lab) {
    std::string out;
    AppendFixed3(out, lab.L);
    out += ',';
    AppendFixed3(out, lab.a);
    out += ',';
    AppendFixed3(out, lab.b);
    return out;
}

Outcome<std::vector<ChartColour>> LoadColourChart(const std::string& path) {
    IniFile ini(path);
    if (!ini.Load()) return Failure{"Unable to open file!\r" + path};
    std::vector<ChartColour> colours;
    for (const std::string& name : ini.KeyNames(kChartColoursSection))
        if (const auto lab = ParseChartValue(ini.ReadString(kChartColoursSection, name)))
            colours.push_back({name, *lab});
    return colours;
}

std::optional<std::string> ReadChartValue(const std::string& path, const std::string& name) {
    IniFile ini(path);
    if (!ini.Load()) return std::nullopt;
    return ini.Find(kChartColoursSection, name);
}

Status CheckColourName(const std::string& name) {
    const std::string_view n = Trimmed(name);
    if (n.empty()) return Failure{"No Color Name!"};
    // The chart file could not give such a name back as the same colour.
    if (n.find('=') != std::string_view::npos || n.front() == '[' || n.front() == ';')
        return Failure{"A color name cannot contain \"=\" or begin with \"[\" or \";\":\r" +
                       std::string(n)};
    return {};
}

Status WriteChartColour(const std::string& path, const std::string& name, const Lab& lab) {
    return ReplaceChartColour(path, name, name, lab);
}

Status ReplaceChartColour(const std::string& path, const std::string& oldName,
                          const std::string& name, const Lab& lab) {
    if (Status s = CheckColourName(name); !s) return s;
    auto ini = OpenForChange(path);
    if (!ini) return Failure{ini.Error()};
    const std::string key(Trimmed(name));
    if (!EqualsNoCase(Trimmed(oldName), key))
        ini->DeleteKey(kChartColoursSection, Trimmed(oldName));
    ini->WriteString(kChartColoursSection, key, FormatChartValue(lab));
    return Saved(*ini);
}

Status DeleteChartColour(const std::string& path, const std::string& name) {
    auto ini = OpenForChange(path);
    if (!ini) return Failure{ini.Error()};
    ini->DeleteKey(kChartColoursSection, Trimmed(name));
    return Saved(*ini);
}

std::string ChartFileName(const std::string& chartName) {
    std::string file = chartName;
    // The Windows separators and wildcards, and ours: a chart name never
    // reaches outside the chart folder.
    for (char& c : file)
        if (std::string_view(" *,.:\\|/").find(c) != std::string_view::npos) c = '_';
    return file + ".ini";
}

Status CreateColourChart(const std::string& path, const std::string& chartName) {
    const std::size_t cut = path.find_last_of('/');
    if (cut != std::string::npos && !ForceFolders(path.substr(0, cut + 1)))
        return Failure{"Unable to create the folder " + path.substr(0, cut + 1)};
    IniFile ini(path);
    ini.WriteString(kChartInfoSection, kChartNameKey, Trimmed(chartName));
    return Saved(ini);
}

namespace {

// One import line as fields: blanks do not separate fields here, only commas.
std::vector<std::string> ImportFields(std::string line) {
    constexpr char kBlank = '\x1F';  // a byte no text line holds
    std::replace(line.begin(), line.end(), ' ', kBlank);
    std::vector<std::string> fields = SplitCommaText(line);
    for (std::string& f : fields) std::replace(f.begin(), f.end(), kBlank, ' ');
    return fields;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
    return lines;
}

}  // namespace

ChartImport ImportChartColours(const std::string& path, std::string_view text) {
    ChartImport result;
    auto ini = OpenForChange(path);
    if (!ini) {
        result.error = ini.Error();
        return result;
    }
    int lineNumber = 0;
    for (const std::string_view line : Lines(text)) {
        ++lineNumber;
        const std::vector<std::string> f = ImportFields(std::string(line));
        if (f.size() <= 3 || !CheckColourName(f[0])) continue;
        std::optional<std::string> bad;
        const auto number = [&](std::size_t i) {
            const auto v = ParseReal(f[i]);
            if (!v && !bad) bad = f[i];
            return v.value_or(0.0);
        };
        const Lab lab{number(1), number(2), number(3)};
        if (bad) {
            result.error = "Line " + std::to_string(lineNumber) + ": '" + *bad +
                           "' is not a valid floating point value.";
            break;
        }
        ini->WriteString(kChartColoursSection, Trimmed(f[0]), FormatChartValue(lab));
        ++result.count;
    }
    if (Status s = Saved(*ini); !s) {
        result.count = 0;
        result.error = s.Error();
    }
    return result;
}

Outcome<ChartImport> ImportChartColoursFromFile(const std::string& path,
                                                const std::string& textFile) {
    QFile f(QString::fromStdString(textFile));
    if (!f.open(QIODevice::ReadOnly)) return Failure{"Unable to open file!\r" + textFile};
    const QByteArray bytes = f.readAll();
    return ImportChartColours(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace corvan
