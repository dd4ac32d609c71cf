// Request frames as the printer takes them off the line, a byte at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "Printer.h"

namespace qmrsim {

// The request in a complete frame (start byte to end byte), or nothing when
// the frame is not well formed: wrong length, separator, checksum or end byte.
std::optional<Request> ParseRequestFrame(std::span<const std::uint8_t> frame);

// Finds request frames in the byte stream: a start byte always begins a new
// frame, bytes outside a frame are ignored, and a frame that is not well
// formed is dropped without a word, as the printer does.
class RequestReader {
public:
    // Returns the request once a well-formed frame ends with this byte.
    std::optional<Request> Feed(std::uint8_t byte);

private:
    std::vector<std::uint8_t> frame_;  // empty outside a frame
};

}  // namespace qmrsim
