#pragma once
// Ini-style files with Windows profile semantics: section and key lookup
// ignores letter case (ASCII), a value is the text after the first "=" with
// surrounding blanks removed, values of any length are kept whole, and
// everything we do not understand (comments, blank lines, odd lines, unknown
// sections and keys) is kept when the file is edited and saved. CRLF and LF
// are both read; a UTF-8 byte-order mark is skipped. Files are written with
// CRLF through a temporary file and a rename, so a crash never leaves half a
// file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // Reads the file named at construction. A missing file gives an empty
    // document and true; an unreadable one (a folder, no permission) false
    // with the reason in Error().
    bool Load();
    void Parse(std::string_view text);
    // Writes the whole document atomically; false with Error() on failure,
    // leaving any previous file untouched.
    bool Save() const;
    std::string Serialise() const;

    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def = {}) const;
    // Integers: decimal, or hexadecimal after "$" / "0x"; unreadable gives def.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
    // Booleans as integers: any non-zero value is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // Reals with a point or a comma; empty or unreadable gives def.
    double ReadFloat(std::string_view section, std::string_view key, double def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // General format, up to 15 significant digits, point as separator.
    void WriteFloat(std::string_view section, std::string_view key, double value);

    void DeleteKey(std::string_view section, std::string_view key);
    void DeleteSection(std::string_view section);
    void Clear() { sections_.clear(); }

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

private:
    struct Line {
        std::string key;    // empty for a line that is not "key=value"
        std::string value;  // the value, or the raw text of a foreign line
        bool isEntry = false;
    };
    struct Section {
        std::string name;  // empty for the lines before the first section
        bool headerless = false;
        std::vector<Line> lines;
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;
    Section& GetOrAddSection(std::string_view name);

    std::string path_;
    mutable std::string error_;
    std::vector<Section> sections_;
};

// Case-insensitive ASCII comparison used for section and key names.
bool EqualsNoCase(std::string_view a, std::string_view b);

// One-shot profile functions: open, read or write one value, close.
std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view def = {});
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Writes bytes to path through a temporary file in the same folder and a
// rename. False (with reason) when anything fails; the old file stays whole.
bool AtomicWriteFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace corvan
