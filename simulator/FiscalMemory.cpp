#include "FiscalMemory.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string_view>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

constexpr std::uint8_t Erased = 0xFF;

void PutBigEndian(std::uint8_t* at, unsigned long long value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        at[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

unsigned long long GetBigEndian(const std::uint8_t* at, int bytes) {
    unsigned long long value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | at[i];
    return value;
}

std::uint8_t Checksum(const std::uint8_t* bytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < FiscalMemory::RecordSize; ++i) sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

std::size_t RecordOffset(int index) {
    return FiscalMemory::HeaderSize + static_cast<std::size_t>(index) * FiscalMemory::RecordSize;
}

void PutText(std::vector<std::uint8_t>& image, std::size_t at, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width; ++i)
        image[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : static_cast<std::uint8_t>(' ');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static const char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += Digits[bytes[i] >> 4];
        text += Digits[bytes[i] & 0x0F];
    }
    return text;
}

bool FromHex(std::string_view hex, std::uint8_t* out, std::size_t count) {
    if (hex.size() != count * 2) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        out[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return true;
}

// "password[,type]": no type and "0" are the Z report, "A" a closure of the
// same kind, "2" the X report, which writes nothing.
std::string PrintDailyReport(Printer& printer, const std::string& data) {
    const std::size_t comma = data.find(',');
    const std::string password = data.substr(0, comma);
    const std::string type = comma == std::string::npos ? std::string("0") : data.substr(comma + 1);
    if (type != "0" && type != "2" && type != "A") {
        printer.Fail(st::SyntaxError);
        return "";
    }
    if (!PasswordOfAnyOperator(printer, password) || printer.receipts.receipt.open) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    const bool closure = type != "2";
    FiscalMemory& fm = printer.fiscalMemory;
    if (closure && (fm.readOnly || fm.FreeRecords() == 0)) {
        UpdateFiscalMemoryBits(printer);
        printer.Fail(st::NotPermitted);
        return "";
    }
    printer.PrintReceiptTop();
    printer.paper.push_back(closure ? "DAILY REPORT Z" : "DAILY REPORT X");
    printer.paper.push_back(ClockText(printer.clock.Now()));
    if (closure) {
        char line[40];
        std::snprintf(line, sizeof line, "CLOSURE %04d", fm.LastClosureNumber() + 1);
        printer.paper.push_back(line);
    }
    PrintTotals(printer, fm.day.byTax);
    printer.paper.push_back("RECEIPTS " + std::to_string(fm.day.receipts) + "  STORNO " +
                            std::to_string(fm.day.stornoReceipts));
    if (closure) WriteClosureRecord(printer);
    printer.paper.push_back(closure ? "Z REPORT END" : "X REPORT END");
    printer.PrintReceiptBottom();
    return "";
}

std::string ReadBlock(Printer& printer, const std::string& data, const std::vector<std::uint8_t>& memory) {
    const auto address = ParseBlockRequest(data, memory.size());
    if (!address) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    return BlockReply(memory, *address);
}

std::vector<std::string> SaveFiscalMemory(const Printer& printer) {
    const FiscalMemory& fm = printer.fiscalMemory;
    std::vector<std::string> lines;
    lines.push_back(std::string("readonly ") + (fm.readOnly ? "1" : "0"));
    std::string day = "day";
    for (const long long v : fm.day.byTax) day += " " + std::to_string(v);
    for (const long long v : fm.day.stornoByTax) day += " " + std::to_string(v);
    day += " " + std::to_string(fm.day.receipts) + " " + std::to_string(fm.day.stornoReceipts);
    lines.push_back(day);
    // Blocks of 64 bytes that hold anything but erased bytes.
    for (std::size_t at = 0; at < FiscalMemory::Size; at += 64) {
        const auto* block = fm.image.data() + at;
        if (std::all_of(block, block + 64, [](std::uint8_t b) { return b == Erased; })) continue;
        char address[8];
        std::snprintf(address, sizeof address, "%05zX", at);
        lines.push_back(std::string(address) + " " + Hex(block, 64));
    }
    return lines;
}

bool LoadFiscalMemory(Printer& printer, const std::vector<std::string>& lines) {
    FiscalMemory fm;
    for (const std::string& line : lines) {
        if (line == "readonly 0" || line == "readonly 1") {
            fm.readOnly = line.back() == '1';
        } else if (line.rfind("day ", 0) == 0) {
            long long v[12];
            int used = 0;
            if (std::sscanf(line.c_str(), "day %lld %lld %lld %lld %lld %lld %lld %lld %lld %lld %lld %lld%n", &v[0],
                            &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11],
                            &used) != 12 ||
                static_cast<std::size_t>(used) != line.size())
                return false;
            for (std::size_t i = 0; i < 10; ++i)
                if (!Receipts::WithinRunningSum(v[i])) return false;
            if (v[10] < 0 || v[10] > std::numeric_limits<int>::max() || v[11] < 0 ||
                v[11] > std::numeric_limits<int>::max())
                return false;
            for (std::size_t g = 0; g < 5; ++g) {
                fm.day.byTax[g] = v[g];
                fm.day.stornoByTax[g] = v[5 + g];
            }
            fm.day.receipts = static_cast<int>(v[10]);
            fm.day.stornoReceipts = static_cast<int>(v[11]);
        } else {
            const auto address = ParseBlockRequest(line.substr(0, 5) + ",64", FiscalMemory::Size);
            if (!address || line.size() != 6 + 128 || line[5] != ' ' ||
                !FromHex(std::string_view(line).substr(6), fm.image.data() + *address, 64))
                return false;
        }
    }
    printer.fiscalMemory = std::move(fm);
    UpdateFiscalMemoryBits(printer);
    return true;
}

}  // namespace

void PrintTotals(Printer& printer, const std::array<long long, 5>& totals) {
    static const char* const GroupNames[] = {"A", "B", "C", "D", "E"};
    long long sum = 0;
    for (std::size_t g = 0; g < totals.size(); ++g) {
        printer.paper.push_back(std::string("TAX ") + GroupNames[g] + "  " + Hundredths(totals[g]));
        sum += totals[g];
    }
    printer.paper.push_back("TOTAL  " + Hundredths(sum));
}

int FiscalMemory::RecordCount() const {
    int count = 0;
    while (count < Capacity && image[RecordOffset(count)] != Erased) ++count;
    return count;
}

std::vector<FmRecord> FiscalMemory::Records() const {
    std::vector<FmRecord> records;
    const int count = RecordCount();
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) records.push_back(DecodeRecord(image.data() + RecordOffset(i)));
    return records;
}

int FiscalMemory::LastClosureNumber() const {
    const int count = RecordCount();
    for (int i = count - 1; i >= 0; --i) {
        const std::uint8_t* at = image.data() + RecordOffset(i);
        if (at[0] == 'Z') return static_cast<int>(GetBigEndian(at + 1, 2));
    }
    return 0;
}

std::vector<std::uint8_t> FiscalMemory::CodeImage() {
    // Every 64-byte block starts with its own address in text, so that a
    // listing shows at a glance which block it is; the rest counts up.
    std::vector<std::uint8_t> code(CodeSize);
    for (std::size_t at = 0; at < CodeSize; at += 64) {
        char head[16];
        const auto headSize = static_cast<std::size_t>(std::snprintf(head, sizeof head, "QMR CODE %05zX", at));
        for (std::size_t i = 0; i < 64; ++i)
            code[at + i] = i < headSize ? static_cast<std::uint8_t>(head[i]) : static_cast<std::uint8_t>((at / 64 + i) & 0xFF);
    }
    return code;
}

std::array<std::uint8_t, FiscalMemory::RecordSize> EncodeRecord(const FmRecord& r) {
    std::array<std::uint8_t, FiscalMemory::RecordSize> bytes{};
    bytes[0] = static_cast<std::uint8_t>(r.kind);
    PutBigEndian(&bytes[1], static_cast<unsigned>(std::clamp(r.number, 0, 0xFFFF)), 2);
    bytes[3] = static_cast<std::uint8_t>(r.day);
    bytes[4] = static_cast<std::uint8_t>(r.month);
    bytes[5] = static_cast<std::uint8_t>(std::clamp(r.year - 2000, 0, 255));
    bytes[6] = static_cast<std::uint8_t>(r.hour);
    bytes[7] = static_cast<std::uint8_t>(r.minute);
    for (std::size_t g = 0; g < r.totals.size(); ++g)
        PutBigEndian(&bytes[8 + 4 * g], static_cast<unsigned long long>(std::clamp(r.totals[g], 0LL, 0xFFFFFFFFLL)), 4);
    PutBigEndian(&bytes[28], static_cast<unsigned>(std::clamp(r.receipts, 0, 0xFFFF)), 2);
    bytes[30] = static_cast<std::uint8_t>(std::clamp(r.stornoReceipts, 0, 255));
    bytes[31] = Checksum(bytes.data());
    return bytes;
}

FmRecord DecodeRecord(const std::uint8_t* b) {
    FmRecord r;
    r.kind = static_cast<char>(b[0]);
    r.number = static_cast<int>(GetBigEndian(b + 1, 2));
    r.day = b[3];
    r.month = b[4];
    r.year = 2000 + b[5];
    r.hour = b[6];
    r.minute = b[7];
    for (std::size_t g = 0; g < r.totals.size(); ++g) r.totals[g] = static_cast<long long>(GetBigEndian(b + 8 + 4 * g, 4));
    r.receipts = static_cast<int>(GetBigEndian(b + 28, 2));
    r.stornoReceipts = b[30];
    return r;
}

bool AppendRecord(Printer& printer, FmRecord record) {
    FiscalMemory& fm = printer.fiscalMemory;
    const int count = fm.RecordCount();
    if (fm.readOnly || count >= FiscalMemory::Capacity) {
        UpdateFiscalMemoryBits(printer);
        return false;
    }
    const CivilTime now = ToCivil(printer.clock.Now());
    record.day = now.day;
    record.month = now.month;
    record.year = now.year;
    record.hour = now.hour;
    record.minute = now.minute;
    if (record.kind != 'Z') record.number = fm.LastClosureNumber();
    const auto bytes = EncodeRecord(record);
    std::copy(bytes.begin(), bytes.end(), fm.image.begin() + static_cast<std::ptrdiff_t>(RecordOffset(count)));
    UpdateFiscalMemoryBits(printer);
    return true;
}

bool WriteClosureRecord(Printer& printer) {
    FiscalMemory& fm = printer.fiscalMemory;
    FmRecord record;
    record.kind = 'Z';
    record.number = fm.LastClosureNumber() + 1;
    record.totals = fm.day.byTax;
    record.receipts = fm.day.receipts;
    record.stornoReceipts = fm.day.stornoReceipts;
    if (!AppendRecord(printer, record)) return false;
    fm.day = DayTotals{};
    return true;
}

void WriteFmHeader(Printer& printer) {
    auto& image = printer.fiscalMemory.image;
    const Identification& id = printer.identification;
    PutText(image, 0, 16, "QMR-770 FM");
    PutText(image, 16, 16, id.fmNumber);
    PutText(image, 32, 16, id.serialNumber);
    PutText(image, 48, 16, id.taxNumber);
    image[64] = printer.StatusBit(st::Fiscalized) ? static_cast<std::uint8_t>('F') : Erased;
}

void FillFiscalMemory(Printer& printer, int freeRecords) {
    FiscalMemory& fm = printer.fiscalMemory;
    freeRecords = std::clamp(freeRecords, 0, FiscalMemory::Capacity);
    // Written directly: one append at a time would scan the records each time.
    const CivilTime now = ToCivil(printer.clock.Now());
    int number = fm.LastClosureNumber();
    for (int index = fm.RecordCount(); index < FiscalMemory::Capacity - freeRecords; ++index) {
        FmRecord record;
        record.number = ++number;
        record.day = now.day, record.month = now.month, record.year = now.year;
        record.hour = now.hour, record.minute = now.minute;
        const auto bytes = EncodeRecord(record);
        std::copy(bytes.begin(), bytes.end(), fm.image.begin() + static_cast<std::ptrdiff_t>(RecordOffset(index)));
    }
    UpdateFiscalMemoryBits(printer);
}

void UpdateFiscalMemoryBits(Printer& printer) {
    const FiscalMemory& fm = printer.fiscalMemory;
    const int free = fm.FreeRecords();
    printer.SetStatusBit(st::FmNearFull, free < FiscalMemory::NearFullRecords);
    printer.SetStatusBit(st::FmFull, free == 0);
    printer.SetStatusBit(st::FmReadOnly, fm.readOnly);
}

std::optional<std::size_t> ParseBlockRequest(const std::string& data, std::size_t size) {
    if (data.size() != 8 || data.compare(5, 3, ",64") != 0) return std::nullopt;
    std::size_t address = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const int digit = HexValue(data[i]);
        if (digit < 0) return std::nullopt;
        address = address * 16 + static_cast<std::size_t>(digit);
    }
    if (address % 64 != 0 || address + 64 > size) return std::nullopt;
    return address;
}

std::string BlockReply(const std::vector<std::uint8_t>& memory, std::size_t address) {
    return Hex(memory.data() + address, 64);
}

void RegisterFiscalMemoryCommands(Printer& printer) {
    printer.SetHandler(qmr::ReadLastRecordNumber,
                       [](Printer& p, const Request&) { return std::to_string(p.fiscalMemory.LastClosureNumber()); });
    printer.SetHandler(qmr::PrintDailyReport, [](Printer& p, const Request& q) { return PrintDailyReport(p, q.data); });
    printer.SetHandler(qmr::ReadFiscalMemoryBlock,
                       [](Printer& p, const Request& q) { return ReadBlock(p, q.data, p.fiscalMemory.image); });
    printer.SetHandler(qmr::ReadFirmwareBlock,
                       [](Printer& p, const Request& q) { return ReadBlock(p, q.data, p.fiscalMemory.code); });
    printer.AddStateSection({"fiscal-memory", SaveFiscalMemory, LoadFiscalMemory});
}

}  // namespace qmrsim
