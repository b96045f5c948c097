#include "common/settingstext.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace drv {

std::string SerialiseSettings(const SettingsMap& settings) {
    std::string out;
    for (const auto& [key, value] : settings) {
        std::string v = value;
        for (char& c : v)
            if (c == '\n' || c == '\r') c = ' ';
        out += key + "=" + v + "\n";
    }
    return out;
}

SettingsMap ParseSettings(const void* data, std::int32_t size) {
    SettingsMap map;
    if (!data || size <= 0) return map;
    const std::string text(static_cast<const char*>(data), static_cast<std::size_t>(size));
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && eq > 0) map[line.substr(0, eq)] = line.substr(eq + 1);
        start = end + 1;
    }
    return map;
}

std::string ShortText(const std::uint8_t* s) {
    return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : std::string();
}

void FillShort(std::uint8_t* out, const std::string& text) {
    if (!out) return;
    const std::size_t n = text.size() > DRV_SHORT_STRING_MAX ? DRV_SHORT_STRING_MAX : text.size();
    out[0] = static_cast<std::uint8_t>(n);
    std::memcpy(out + 1, text.data(), n);
}

std::string FormatReal(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    for (char* p = buf; *p; ++p)
        if (*p == ',') *p = '.';
    return buf;
}

double ParseRealText(const std::string& text, double def) {
    std::string t = text;
    for (char& c : t)
        if (c == ',') c = '.';
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(t.c_str(), &end);
    if (t.empty() || end == t.c_str() || *end != '\0' || errno != 0) return def;
    return v;
}

long ParseIntText(const std::string& text, long def) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end == text.c_str() || *end != '\0' || errno != 0) return def;
    return v;
}

std::int32_t CopyBlob(const std::string& blob, void* buffer) {
    if (buffer) std::memcpy(buffer, blob.data(), blob.size());
    return static_cast<std::int32_t>(blob.size());
}

}  // namespace drv
