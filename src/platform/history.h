#pragma once
// The short path lists the window keeps: recent projects and the layer and
// image histories. Newest first; a path used again moves to the top.
#include <cstddef>
#include <string>
#include <vector>

namespace corvan {

inline constexpr std::size_t kRecentProjects = 8;
inline constexpr std::size_t kHistoryEntries = 16;

// Puts path on top of the list, removing an earlier copy (letter case
// ignored when `ignoreCase`), and drops the oldest entries beyond `limit`.
void MoveToTop(std::vector<std::string>& list, const std::string& path, std::size_t limit,
               bool ignoreCase = false);

}  // namespace corvan
