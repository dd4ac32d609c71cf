#include "RequestReader.h"

#include "LinkState.h"
#include "Transport.h"

namespace qmrsim {

namespace {

constexpr std::size_t RequestOverhead = 10;  // start, len, seq, cmd, body end, 4 checksum, end
constexpr std::size_t ChecksumChars = 4;

}  // namespace

std::optional<Request> ParseRequestFrame(std::span<const std::uint8_t> frame) {
    if (frame.size() < RequestOverhead || frame.front() != qmr::StartByte || frame.back() != qmr::EndByte) {
        return std::nullopt;
    }
    if (frame[1] < qmr::RequestLenBase || frame[1] - qmr::RequestLenBase + RequestOverhead != frame.size()) return std::nullopt;
    const std::size_t bodyEnd = frame.size() - 1 - ChecksumChars - 1;
    if (frame[bodyEnd] != qmr::BodyEnd) return std::nullopt;
    std::uint32_t sum = 0;
    for (std::size_t i = 1; i <= bodyEnd; ++i) sum += frame[i];
    if (sum != qmr::DecodeChecksum(&frame[bodyEnd + 1])) return std::nullopt;
    return Request{frame[2], frame[3],
                   std::string(frame.begin() + 4, frame.begin() + static_cast<std::ptrdiff_t>(bodyEnd))};
}

std::optional<Request> RequestReader::Feed(std::uint8_t byte) {
    if (byte == qmr::StartByte) {
        frame_.assign(1, byte);
        return std::nullopt;
    }
    if (frame_.empty()) return std::nullopt;
    frame_.push_back(byte);
    // A Len below the base would make the frame's length negative.
    if (frame_.size() == 2 && byte < qmr::RequestLenBase) {
        frame_.clear();
        return std::nullopt;
    }
    if (frame_.size() < frame_[1] - qmr::RequestLenBase + RequestOverhead) return std::nullopt;
    auto request = ParseRequestFrame(frame_);
    frame_.clear();
    return request;
}

}  // namespace qmrsim
