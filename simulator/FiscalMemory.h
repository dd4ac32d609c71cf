// The printer's fiscal memory and code memory as byte images, as a memory
// dump reads them, and the day's totals that a daily closure writes into
// the fiscal memory.
//
// Fiscal memory layout (327680 bytes; an erased byte reads 0xFF):
//   0x00000  header, 256 bytes:
//              0..15   "QMR-770 FM" padded with blanks
//              16..31  fiscal-memory number, 32..47 serial number,
//              48..63  tax number (cp1251, blank padded; 0xFF until written)
//              64      'F' once the printer is fiscalised
//   0x00100  records, 32 bytes each, in the order written, up to Capacity:
//              0       kind: 'Z' daily closure, 'R' RAM reset, 'T' tax rates
//                      changed, 'F' fiscalisation; 0xFF: free from here on
//              1..2    number, big-endian: a closure's own number (1, 2, ...);
//                      other kinds carry the number of the last closure
//              3..5    date: day, month, year - 2000
//              6..7    time: hour, minute
//              8..27   five totals, tax groups 0xC0..0xC4, 4 bytes each,
//                      big-endian, in hundredths (a 'T' record: the four
//                      rates in hundredths of a percent and the decimals)
//              28..29  receipts in the day, big-endian
//              30      storno receipts in the day (at most 255)
//              31      checksum: the sum of bytes 0..30, modulo 256
//
// The memory reports near full when fewer than NearFullRecords records are
// free, full when none is, and read-only when `readOnly` is set; a full or
// read-only memory refuses every record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Clock.h"

namespace qmrsim {

class Printer;

struct FmRecord {
    char kind = 'Z';
    int number = 0;
    int day = 1, month = 1, year = 2000, hour = 0, minute = 0;
    std::array<long long, 5> totals{};
    int receipts = 0;
    int stornoReceipts = 0;

    bool operator==(const FmRecord&) const = default;
};

// What the receipts of the day add up to, until the next daily closure.
struct DayTotals {
    std::array<long long, 5> byTax{};  // fiscal receipts, by tax group
    std::array<long long, 5> stornoByTax{};
    int receipts = 0;
    int stornoReceipts = 0;
};

struct FiscalMemory {
    static constexpr std::size_t Size = 327680;
    static constexpr std::size_t HeaderSize = 256;
    static constexpr std::size_t RecordSize = 32;
    static constexpr int Capacity = static_cast<int>((Size - HeaderSize) / RecordSize);
    static constexpr int NearFullRecords = 50;
    static constexpr std::size_t CodeSize = 131072;

    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(Size, 0xFF);
    std::vector<std::uint8_t> code = CodeImage();
    bool readOnly = false;
    DayTotals day;

    // Records written so far.
    int RecordCount() const;
    int FreeRecords() const { return Capacity - RecordCount(); }
    std::vector<FmRecord> Records() const;
    // The number of the last daily closure, 0 before the first.
    int LastClosureNumber() const;

    static std::vector<std::uint8_t> CodeImage();
};

std::array<std::uint8_t, FiscalMemory::RecordSize> EncodeRecord(const FmRecord& record);
FmRecord DecodeRecord(const std::uint8_t* bytes);

// Writes the record after the last one, dated now by the printer's clock;
// false (with the bits a printer raises) when the memory is full or read-only.
bool AppendRecord(Printer& printer, FmRecord record);
// A daily closure of the day's totals; the day starts anew.
bool WriteClosureRecord(Printer& printer);
// Writes the header fields from the printer's identification.
void WriteFmHeader(Printer& printer);
// Fills the memory with closures until `freeRecords` are left, so that a
// test or a user reaches near full or full in a few commands.
void FillFiscalMemory(Printer& printer, int freeRecords);
// Puts the near-full, full and read-only bits in line with the memory.
void UpdateFiscalMemoryBits(Printer& printer);
// Prints the totals of tax groups A to E, a line each, and their sum.
void PrintTotals(Printer& printer, const std::array<long long, 5>& totals);

// "AAAAA,64": the address of a 64-byte block inside a memory of `size`
// bytes; nothing when the text or the address is wrong.
std::optional<std::size_t> ParseBlockRequest(const std::string& data, std::size_t size);
// The 64 bytes from `address` as 128 upper-case hex digits.
std::string BlockReply(const std::vector<std::uint8_t>& memory, std::size_t address);

// Registers ReadLastRecordNumber, PrintDailyReport (Z "0" and "A" write a
// closure, X "2" prints only), ReadFiscalMemoryBlock, ReadFirmwareBlock and
// the fiscal memory's lasting state.
void RegisterFiscalMemoryCommands(Printer& printer);

}  // namespace qmrsim
