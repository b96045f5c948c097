#pragma once
// Small binary fixtures shared by several test executables.
#include <cstdint>
#include <vector>

namespace corvan::test {

// The smallest well-formed metafile: a header record and an end record;
// `marker` lands in a reserved header byte so pictures can be told apart.
std::vector<std::uint8_t> TinyMetafile(std::uint8_t marker);

}  // namespace corvan::test
