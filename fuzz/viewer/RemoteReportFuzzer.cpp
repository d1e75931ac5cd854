// A raw-input block from any HID device that reports on the remote's usages: the announced
// reports must lie within the block, at both header sizes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "viewer/KeyTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (size_t header : {size_t{16}, size_t{24}}) {
        // A copy of exactly `size` bytes, so that the sanitiser sees any read beyond it.
        std::vector<uint8_t> block(data, data + size);
        uint32_t code = 0;
        if (viewer::ParseRemoteReport(block.data(), block.size(), header, code)) {
            if (size < header + 10 || code > 0xFFFF)
                std::abort();
        }
    }
    return 0;
}
