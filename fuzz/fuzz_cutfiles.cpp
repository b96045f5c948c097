// The binary readers of the cutting and crop-mark formats: crop-mark files,
// cut files and the LZHUF decoder behind them.
#include "cutting/cutfile.h"
#include "cutting/lzhuf.h"
#include "placement/cropmarkfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    std::string reason;
    (void)corvan::ParseCropMarkFile(bytes, &reason);
    (void)corvan::ParseCutFile(bytes, &reason);
    if (size > 2) (void)corvan::LzhufDecode(bytes.subspan(2), static_cast<std::size_t>(data[0]) * data[1] * 4, &reason);
    return 0;
}
