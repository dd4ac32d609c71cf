#include <gtest/gtest.h>

#include <vector>

#include "RequestReader.h"
#include "Transport.h"

namespace qmrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Every request that the bytes yield, in order.
std::vector<Request> Feed(RequestReader& reader, const Bytes& bytes) {
    std::vector<Request> out;
    for (auto b : bytes) {
        if (auto r = reader.Feed(b)) out.push_back(*r);
    }
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes ReadStatusFrame{0x01, 0x24, 0x20, 0x4A, 0x05, 0x30, 0x30, 0x39, 0x33, 0x03};
const Bytes LayoutFrame{0x01, 0x26, 0x21, 0x2B, 0x4C, 0x31, 0x05, 0x30, 0x30, 0x3F, 0x34, 0x03};

TEST(ParseRequestFrame, ReadsARequestWithoutDataAndOneWithData) {
    EXPECT_EQ(ParseRequestFrame(ReadStatusFrame), (Request{0x20, 0x4A, ""}));
    EXPECT_EQ(ParseRequestFrame(LayoutFrame), (Request{0x21, 0x2B, "L1"}));
}

TEST(ParseRequestFrame, TakesEveryByteValueAndTheLongestData) {
    std::string data(219, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(0x80 + i % 0x80);
    const auto frame = qmr::BuildRequestFrame(0x7E, 116, data);
    EXPECT_EQ(ParseRequestFrame(frame), (Request{0x7E, 116, data}));
}

TEST(ParseRequestFrame, RefusesFramesThatAreNotWellFormed) {
    auto spoil = [](std::size_t at, std::uint8_t value) {
        Bytes f = LayoutFrame;
        f[at] = value;
        return f;
    };
    const std::vector<std::pair<const char*, Bytes>> cases{
        {"checksum", spoil(10, 0x35)},
        {"summed byte", spoil(4, 0x4D)},
        {"body end", spoil(6, 0x04)},
        {"end byte", spoil(11, 0x04)},
        {"start byte", spoil(0, 0x02)},
        {"length too short", spoil(1, 0x25)},
        {"length too long", spoil(1, 0x27)},
        {"length under minimum", spoil(1, 0x23)},
        {"missing byte", Bytes(LayoutFrame.begin(), LayoutFrame.end() - 1)},
        {"empty", Bytes{}},
    };
    for (const auto& [name, frame] : cases) EXPECT_FALSE(ParseRequestFrame(frame).has_value()) << name;
}

TEST(RequestReader, SkipsGarbageAndResynchronisesOnStartByte) {
    RequestReader reader;
    const Bytes garbage{0x00, 0x03, 0xFF, 0x05, 0x24};
    const Bytes broken(LayoutFrame.begin(), LayoutFrame.begin() + 7);  // cut by the next start byte
    const auto requests = Feed(reader, Join({garbage, ReadStatusFrame, broken, LayoutFrame, garbage}));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], (Request{0x20, 0x4A, ""}));
    EXPECT_EQ(requests[1], (Request{0x21, 0x2B, "L1"}));
}

TEST(RequestReader, DropsABadFrameAndTakesTheNext) {
    RequestReader reader;
    Bytes bad = ReadStatusFrame;
    bad[8] = 0x34;
    const Bytes shortLen{0x01, 0x10, 0x20};  // a length no request can have
    const auto requests = Feed(reader, Join({bad, shortLen, ReadStatusFrame}));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], (Request{0x20, 0x4A, ""}));
}

}  // namespace
}  // namespace qmrsim
