#include "support/fixtures.h"

namespace corvan::test {

namespace {
void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}
}  // namespace

std::vector<std::uint8_t> TinyMetafile(std::uint8_t marker) {
    std::vector<std::uint8_t> m(88 + 20, 0);
    Put32(m, 0, 1);            // EMR_HEADER
    Put32(m, 4, 88);           // record size
    Put32(m, 40, 0x464D4520);  // " EMF"
    Put32(m, 44, 0x10000);
    Put32(m, 48, static_cast<std::uint32_t>(m.size()));
    Put32(m, 52, 2);  // records
    m[60] = marker;
    Put32(m, 88, 14);  // EMR_EOF
    Put32(m, 92, 20);
    Put32(m, 104, 20);
    return m;
}

}  // namespace corvan::test
