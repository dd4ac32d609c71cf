#include "MemoryDump.h"

#include <cstdio>

#include "Commands.h"

namespace vextora {

namespace {

constexpr DumpMemory Memories[] = {
    {"Read Fiscal Memory", qmr::ReadFiscalMemoryBlock, 5120, 20},
    {"Read Firmware", qmr::ReadFirmwareBlock, 2048, 8},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

char Shown(char c) { return static_cast<unsigned char>(c) < 0x20 ? '.' : c; }

}  // namespace

const DumpMemory& DumpMemoryOf(std::uint8_t kind) { return Memories[kind == FirmwareDump ? 1 : 0]; }

std::string BlockRequestData(int block) {
    char data[16];
    std::snprintf(data, sizeof data, "%05X,64", static_cast<unsigned>(block) * 64u);
    return data;
}

void DecodeBlock(std::string_view reply, std::uint8_t (&bytes)[DumpMemory::BlockBytes]) {
    for (std::size_t k = 0; k < DumpMemory::BlockBytes; ++k) {
        const int hi = 2 * k + 1 < reply.size() ? HexDigit(reply[2 * k]) : -1;
        const int lo = hi >= 0 ? HexDigit(reply[2 * k + 1]) : -1;
        bytes[k] = lo >= 0 ? static_cast<std::uint8_t>(hi * 16 + lo) : 0;
    }
}

std::string FormatDumpLine(std::size_t address, std::string_view hex, const std::uint8_t* bytes) {
    char head[16];
    std::snprintf(head, sizeof head, "%05zX  ", address);
    std::string line = head;
    for (std::size_t i = 0; i < 2 * DumpMemory::LineBytes; ++i) {
        if (i > 0 && i % 2 == 0) line += ' ';
        line += i < hex.size() ? Shown(hex[i]) : ' ';
    }
    line += "  ";
    for (std::size_t i = 0; i < DumpMemory::LineBytes; ++i) line += Shown(static_cast<char>(bytes[i]));
    return line;
}

std::string FormatDumpBlock(std::size_t address, std::string_view reply,
                            const std::uint8_t (&bytes)[DumpMemory::BlockBytes]) {
    constexpr std::size_t hexPerLine = 2 * DumpMemory::LineBytes;
    std::string lines;
    for (std::size_t part = 0; part < DumpMemory::BlockBytes / DumpMemory::LineBytes; ++part) {
        const std::size_t at = part * hexPerLine;
        if (part > 0) lines += '\n';
        lines += FormatDumpLine(address + part * DumpMemory::LineBytes,
                                at < reply.size() ? reply.substr(at, hexPerLine) : std::string_view{},
                                bytes + part * DumpMemory::LineBytes);
    }
    return lines;
}

}  // namespace vextora
