#include "platform/history.h"

#include "platform/inifile.h"

#include <algorithm>

namespace corvan {

void MoveToTop(std::vector<std::string>& list, const std::string& path, std::size_t limit,
               bool ignoreCase) {
    std::erase_if(list, [&](const std::string& entry) {
        return ignoreCase ? EqualsNoCase(entry, path) : entry == path;
    });
    list.insert(list.begin(), path);
    if (list.size() > limit) list.resize(limit);
}

}  // namespace corvan
