#include "platform/commatext.h"

namespace corvan {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && IsBlank(text[i])) ++i;
    };
    skipBlanks();
    if (i >= n) return fields;
    for (;;) {
        std::string field;
        skipBlanks();
        if (i < n && text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
        } else {
            while (i < n && text[i] != ',' && !IsBlank(text[i])) field += text[i++];
        }
        fields.push_back(std::move(field));
        skipBlanks();
        if (i >= n) break;
        if (text[i] == ',') {
            ++i;
            skipBlanks();
            if (i >= n) {  // a comma at the very end gives a final empty field
                fields.emplace_back();
                break;
            }
        }
        // Anything else (a blank ended an unquoted field) starts the next field.
    }
    return fields;
}

std::string JoinCommaText(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (k) out += ',';
        const std::string& f = fields[k];
        const bool quote = f.empty() || f.find_first_of(" \t,\"") != std::string::npos;
        if (!quote) {
            out += f;
            continue;
        }
        out += '"';
        for (char c : f) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

std::string DecodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char next = text[i + 1];
        switch (next) {
            case 'r': out += '\r'; ++i; break;
            case 't': out += '\t'; ++i; break;
            case '"': out += '"'; ++i; break;
            case '\\': out += '\\'; ++i; break;
            default: out += c; break;
        }
    }
    return out;
}

}  // namespace corvan
