// Byte level of the link: opening the port, request and reply frames.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qmr {

// A data text ends at its first NUL, as the printer's texts always have.
std::string_view UpToNul(std::string_view data);

// The four checksum characters for a sum S, most significant nibble first.
std::array<std::uint8_t, 4> EncodeChecksum(std::uint32_t sum);
// Reads four checksum characters back (each byte - 0x30, modulo 256).
std::uint32_t DecodeChecksum(const std::uint8_t* chars);

// The whole request frame for a command and its data (at most 219 bytes).
std::vector<std::uint8_t> BuildRequestFrame(std::uint8_t seq, int command, std::string_view data);
// A reply frame as the printer sends it (for the simulator and tests).
std::vector<std::uint8_t> BuildReplyFrame(std::uint8_t seq, std::uint8_t command, std::string_view data,
                                          const std::array<std::uint8_t, 6>& status);

bool OpenPort();
void ClosePort();
// Bytes the line has for the next reception, those read ahead included.
int BytesWaiting();
// Collects one reply into ReceiveBuffer and returns the bytes stored before
// its end byte; sets LinkError on silence. Also ends, without LinkError, once
// limit bytes have been stored or have come in all.
int ReceiveFrame(int limit);
void NextSequence();
// Sends one request frame; a data text longer than 219 bytes cannot be
// framed, and nothing is sent for it.
bool SendFrame(int command, std::string_view data);

}  // namespace qmr
