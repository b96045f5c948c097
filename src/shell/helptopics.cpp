#include "shell/helptopics.h"

#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/numbers.h"

#include <fstream>
#include <sstream>

namespace corvan {

std::string HelpFile() {
    return ProgramFolder() + "helpfile.ini";
}

std::optional<HelpTopic> LoadHelpTopic(const std::string& topic) {
    IniFile ini(HelpFile());
    if (!ini.Load()) return std::nullopt;
    HelpTopic t;
    t.title = ini.ReadString(topic, "Title");
    if (t.title.empty()) return std::nullopt;
    t.key = ini.ReadString(topic, "Key");
    t.pdf = ini.ReadString(topic, "PDF");
    t.text = ReadTopicText("[" + topic + "]");
    return t;
}

std::vector<std::string> ReadTopicText(const std::string& marker) {
    std::ifstream in(HelpFile(), std::ios::binary);
    std::vector<std::string> lines;
    bool found = false, inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!found) {
            found = EqualsNoCase(line, marker);
        } else if (!inside) {
            // The next section before any "{": this topic has no text.
            if (!line.empty() && line.front() == '[') break;
            inside = line == "{";
        } else if (line == "}") {
            break;
        } else {
            lines.push_back(line);
        }
    }
    return lines;
}

std::optional<int> ManualPageOf(const std::string& pdfArguments) {
    std::istringstream words(pdfArguments);
    std::string file, page;
    if (!(words >> file >> page)) return std::nullopt;
    const auto n = ParseInteger(page);
    if (!n || *n < 1) return std::nullopt;
    return static_cast<int>(*n);
}

}  // namespace corvan
