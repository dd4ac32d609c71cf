// The memory dumps: the fiscal memory or the code memory read in blocks of
// 64 bytes, each block a reply of 128 hex digits, and the listing of 16
// bytes a line:
//   "AAAAA  HH HH .. HH  cccccccccccccccc"
// the address, the reply's own hex characters (case as received) and the
// bytes as characters, a byte below 0x20 as '.'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vextora {

enum DumpKinds : std::uint8_t { FiscalMemoryDump = 0, FirmwareDump = 1 };

struct DumpMemory {
    const char* caption;  // of the dump window
    int command;
    int blocks;
    int progressDivisor;  // block j shows as j / divisor of the progress bar's 255
    std::size_t Bytes() const { return static_cast<std::size_t>(blocks) * BlockBytes; }

    static constexpr std::size_t BlockBytes = 64;
    static constexpr std::size_t LineBytes = 16;
};

// The memory a DumpKind names.
const DumpMemory& DumpMemoryOf(std::uint8_t kind);

// "%05X,64" of the block's byte address.
std::string BlockRequestData(int block);

// Byte k from the reply's characters 2k and 2k + 1, upper or lower case; a
// pair the reply does not reach, or that is no hex number, gives 0.
void DecodeBlock(std::string_view reply, std::uint8_t (&bytes)[DumpMemory::BlockBytes]);

// One listing line of 72 characters. `hex` is the reply's 32 characters for
// these 16 bytes, as far as it reaches: a missing character shows as a
// blank, and one that would break the line (below 0x20) as '.'.
std::string FormatDumpLine(std::size_t address, std::string_view hex, const std::uint8_t* bytes);

// The listing lines of one block at its byte address, '\n' between them:
// each line shows its 32 characters of the reply and its 16 decoded bytes.
std::string FormatDumpBlock(std::size_t address, std::string_view reply,
                            const std::uint8_t (&bytes)[DumpMemory::BlockBytes]);

}  // namespace vextora
