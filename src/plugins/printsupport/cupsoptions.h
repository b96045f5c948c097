#pragma once
// The options of a CUPS queue as the operator sets them in the queue's
// properties: what the printer supports (paper, sides, colour mode,
// quality, resolution, trays), what is chosen now, and storing a new
// choice as the user's default for that queue (lpoptions).
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvan {

struct QueueOption {
    std::string name;                                          // IPP attribute name, e.g. "media"
    std::string label;                                         // localised caption
    std::vector<std::pair<std::string, std::string>> choices;  // value, caption
    std::string current;  // the value in use (user default, else printer default)
};

// The queue's name as CUPS spells it (matched ignoring case), or empty.
std::string FindQueue(const std::string& name);
// The settable options of a queue; empty when the queue or its scheduler
// cannot be reached.
std::optional<std::vector<QueueOption>> ReadQueueOptions(const std::string& queue);
// Stores the values as the queue's defaults for this user. False on failure.
bool WriteQueueOptions(const std::string& queue,
                       const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace corvan
