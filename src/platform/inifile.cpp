#include "platform/inifile.h"

#include "platform/numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace corvan {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool IniFile::Load() {
    sections_.clear();
    error_.clear();
    QFileInfo info(QString::fromStdString(path_));
    if (!info.exists()) return true;
    if (info.isDir()) {
        error_ = path_ + " is a folder";
        return false;
    }
    QFile f(info.filePath());
    if (!f.open(QIODevice::ReadOnly)) {
        error_ = f.errorString().toStdString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return true;
}

void IniFile::Parse(std::string_view text) {
    sections_.clear();
    // A byte-order mark (editors sometimes write it twice) is not content.
    while (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        if (last && raw.empty()) break;

        const std::string_view t = Trim(raw);
        if (!t.empty() && t.front() == '[') {
            const std::size_t close = t.find(']');
            if (close != std::string_view::npos) {
                sections_.push_back({std::string(Trim(t.substr(1, close - 1))), false, {}});
                current = &sections_.back();
                continue;
            }
        }
        if (!current) {
            sections_.push_back({std::string(), true, {}});
            current = &sections_.back();
        }
        const std::size_t eq = raw.find('=');
        if (eq != std::string_view::npos && !t.empty() && t.front() != ';' && !current->headerless) {
            current->lines.push_back(
                {std::string(Trim(raw.substr(0, eq))), std::string(Trim(raw.substr(eq + 1))), true});
        } else {
            current->lines.push_back({std::string(), std::string(raw), false});
        }
    }
}

std::string IniFile::Serialise() const {
    std::size_t total = 0;
    for (const auto& s : sections_) {
        total += s.name.size() + 4;
        for (const auto& l : s.lines) total += l.key.size() + l.value.size() + 3;
    }
    std::string out;
    out.reserve(total);
    for (const auto& s : sections_) {
        if (!s.headerless) {
            out += '[';
            out += s.name;
            out += "]\r\n";
        }
        for (const auto& l : s.lines) {
            if (l.isEntry) {
                out += l.key;
                out += '=';
            }
            out += l.value;
            out += "\r\n";
        }
    }
    return out;
}

bool IniFile::Save() const {
    error_.clear();
    return AtomicWriteFile(path_, Serialise(), &error_);
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    for (auto& s : sections_)
        if (!s.headerless && EqualsNoCase(s.name, name)) return &s;
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    return const_cast<IniFile*>(this)->FindSection(name);
}

IniFile::Section& IniFile::GetOrAddSection(std::string_view name) {
    if (Section* s = FindSection(name)) return *s;
    sections_.push_back({std::string(name), false, {}});
    return sections_.back();
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return Find(section, key).has_value();
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    for (const auto& l : s->lines)
        if (l.isEntry && EqualsNoCase(l.key, key)) return l.value;
    return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    auto v = Find(section, key);
    return v ? *v : std::string(def);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t def) const {
    auto v = Find(section, key);
    if (!v) return def;
    return ParseInteger(*v).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double def) const {
    auto v = Find(section, key);
    if (!v) return def;
    return ParseReal(*v).value_or(def);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = GetOrAddSection(section);
    for (auto& l : s.lines) {
        if (l.isEntry && EqualsNoCase(l.key, key)) {
            l.value.assign(value);
            return;
        }
    }
    // New keys go after the section's last entry, before trailing blank lines.
    auto at = s.lines.end();
    while (at != s.lines.begin() && !std::prev(at)->isEntry && Trim(std::prev(at)->value).empty()) --at;
    s.lines.insert(at, Line{std::string(key), std::string(value), true});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    WriteString(section, key, FormatInt(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    WriteString(section, key, FormatFloat15(value));
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    Section* s = FindSection(section);
    if (!s) return;
    std::erase_if(s->lines, [&](const Line& l) { return l.isEntry && EqualsNoCase(l.key, key); });
}

void IniFile::DeleteSection(std::string_view section) {
    std::erase_if(sections_,
                  [&](const Section& s) { return !s.headerless && EqualsNoCase(s.name, section); });
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& s : sections_)
        if (!s.headerless) names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& l : s->lines)
            if (l.isEntry) keys.push_back(l.key);
    return keys;
}

std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view def) {
    IniFile ini(path);
    ini.Load();
    return ini.ReadString(section, key, def);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    IniFile ini(path);
    if (!ini.Load()) return false;
    ini.WriteString(section, key, value);
    return ini.Save();
}

bool AtomicWriteFile(const std::string& path, std::string_view bytes, std::string* error) {
    QSaveFile f(QString::fromStdString(path));
    // Unbuffered: a buffered short write (disk full, file size limit) is lost
    // in the final flush and the cut-off file would still be committed.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) *error = f.errorString().toStdString();
        return false;
    }
    for (std::size_t done = 0; done < bytes.size();) {
        const qint64 n = f.write(bytes.data() + done, static_cast<qint64>(bytes.size() - done));
        if (n <= 0) {
            if (error) *error = f.errorString().toStdString();
            f.cancelWriting();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (!f.commit()) {
        if (error) *error = f.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace corvan
