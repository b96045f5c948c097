#pragma once
// Context help: the topics of "helpfile.ini" in the program folder. Each
// topic T is a section "[T]" with "Title" (a topic without one does not
// exist), "Key" (a shortcut text) and "PDF" (where in the manual to read on),
// and after the section line a block of text lines between a line "{" and a
// line "}".
#include <optional>
#include <string>
#include <vector>

namespace corvan {

struct HelpTopic {
    std::string title;
    std::string key;
    std::string pdf;  // "CorvanRIP.pdf PAGE", empty when the manual has nothing more
    std::vector<std::string> text;
};

std::string HelpFile();
// The topic, or none when it has no title.
std::optional<HelpTopic> LoadHelpTopic(const std::string& topic);
// The lines of the block after the line equal to `marker` (letter case
// ignored): from the first "{" line on, up to "}" or the end of the file;
// none when the next section starts before a "{".
std::vector<std::string> ReadTopicText(const std::string& marker);
// The page a "PDF" value names ("CorvanRIP.pdf 14" gives 14); none without one.
std::optional<int> ManualPageOf(const std::string& pdfArguments);

}  // namespace corvan
