#include "StateTestSupport.h"

#include "state/MemoryStream.h"

#include <array>

namespace ostinel::test {
namespace {

TEST(MemoryStream, WriteOverwritesAtPositionAndGrowsPastTheEnd) {
    TMemoryStream s = StreamOf(B({1, 2, 3, 4}));
    s.SetPosition(2);
    const auto data = B({9, 9, 9});
    s.Write(data.data(), data.size());
    EXPECT_EQ(StreamBytes(s), B({1, 2, 9, 9, 9}));
    EXPECT_EQ(s.Position(), 5u);
}

TEST(MemoryStream, WriteBeyondTheEndFillsTheGapWithZeros) {
    TMemoryStream s = StreamOf(B({1}));
    s.SetPosition(3);
    const uint8_t seven = 7;
    s.Write(&seven, 1);
    EXPECT_EQ(StreamBytes(s), B({1, 0, 0, 7}));
}

TEST(MemoryStream, ReadReturnsWhatIsLeftAndNothingPastTheEnd) {
    TMemoryStream s = StreamOf(B({1, 2, 3}));
    std::array<uint8_t, 5> buffer{};
    s.SetPosition(1);
    EXPECT_EQ(s.Read(buffer.data(), buffer.size()), 2u);
    EXPECT_EQ(buffer[0], 2);
    EXPECT_EQ(buffer[1], 3);
    EXPECT_EQ(s.Position(), 3u);
    EXPECT_EQ(s.Read(buffer.data(), buffer.size()), 0u);
    s.SetPosition(10);
    EXPECT_EQ(s.Remaining(), 0u);
    EXPECT_EQ(s.Read(buffer.data(), buffer.size()), 0u);
    EXPECT_EQ(s.Position(), 10u);
}

TEST(MemoryStream, ReadBufferFailsWithoutMovingWhenTooFewBytesRemain) {
    TMemoryStream s = StreamOf(B({1, 2, 3}));
    std::array<uint8_t, 4> buffer{};
    s.SetPosition(1);
    EXPECT_EQ(ErrorOf([&] { s.ReadBuffer(buffer.data(), 3); }), kStreamReadError);
    EXPECT_EQ(s.Position(), 1u);
    s.ReadBuffer(buffer.data(), 2);
    EXPECT_EQ(s.Position(), 3u);
}

TEST(MemoryStream, ResizeZeroFillsAndPullsThePositionBackToTheEnd) {
    TMemoryStream s = StreamOf(B({1, 2, 3, 4}));
    s.SetPosition(4);
    s.Resize(2);
    EXPECT_EQ(s.Position(), 2u);
    s.Resize(4);
    EXPECT_EQ(StreamBytes(s), B({1, 2, 0, 0}));
    EXPECT_EQ(s.Position(), 2u);
}

TEST(MemoryStream, ClearEmptiesAndRewinds) {
    TMemoryStream s = StreamOf(B({1, 2}));
    s.SetPosition(2);
    s.Clear();
    EXPECT_EQ(s.Size(), 0u);
    EXPECT_EQ(s.Position(), 0u);
    EXPECT_TRUE(s.Bytes().empty());
}

} // namespace
} // namespace ostinel::test
