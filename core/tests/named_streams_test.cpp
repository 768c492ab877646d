#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/container/named_streams.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The system's list of a file's streams: one record a name, each record starting where the
// one before says; the last says 0.
Bytes StreamList(const std::vector<std::u16string>& names) {
    Bytes list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t start = list.size();
        const std::size_t length = 24 + 2 * names[i].size();
        const std::size_t padded = (length + 7) / 8 * 8;
        list.resize(start + padded);
        PutU32(list, start, i + 1 < names.size() ? static_cast<std::uint32_t>(padded) : 0);
        PutU32(list, start + 4, static_cast<std::uint32_t>(2 * names[i].size()));
        for (std::size_t c = 0; c < names[i].size(); ++c) {
            list[start + 24 + 2 * c] = static_cast<std::uint8_t>(names[i][c]);
            list[start + 25 + 2 * c] = static_cast<std::uint8_t>(names[i][c] >> 8);
        }
    }
    return list;
}

TEST(NamedStreamsTest, OnlyTheUnnamedDataStreamIsNoNamedStream) {
    EXPECT_FALSE(core::ListsNamedStream(StreamList({u"::$DATA"})));
    EXPECT_FALSE(core::ListsNamedStream({}));
    EXPECT_TRUE(core::ListsNamedStream(StreamList({u"::$DATA", u":notes:$DATA"})));
    EXPECT_TRUE(core::ListsNamedStream(StreamList({u":\x05SummaryInformation:$DATA", u"::$DATA"})));
    EXPECT_TRUE(core::ListsNamedStream(StreamList({u"::$data"})));
}

// A list the system cut short, or a record whose name runs past it, held more than it shows.
TEST(NamedStreamsTest, ACutRecordCountsAsANamedStream) {
    const Bytes whole = StreamList({u"::$DATA", u":notes:$DATA"});
    EXPECT_TRUE(core::ListsNamedStream(std::span(whole).first(whole.size() - 30)));
    Bytes longName = StreamList({u"::$DATA"});
    PutU32(longName, 4, 200);
    EXPECT_TRUE(core::ListsNamedStream(longName));
    EXPECT_TRUE(core::ListsNamedStream(std::span(whole).first(10)));
}

}  // namespace
