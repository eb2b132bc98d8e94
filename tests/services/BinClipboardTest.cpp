// TBinClipboard on an in-memory clipboard: the block layout (length word, stream) and every
// way a block on the clipboard can be malformed.
#include "services/BinClipboard.h"

#include "platform/headless/HeadlessClipboard.h"
#include "state/MemoryStream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostinel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

struct BinClipboardFixture : ::testing::Test {
    platform::HeadlessClipboard system;
    TBinClipboard clipboard{system, kChannelClipboardFormat};

    [[nodiscard]] static Bytes StreamBytes(const TMemoryStream& stream) {
        return {stream.Bytes().begin(), stream.Bytes().end()};
    }
};

TEST_F(BinClipboardFixture, WritesLengthWordThenTheWholeStream) {
    TMemoryStream stream;
    stream.Write("abc", 3);
    // The whole stream is placed, wherever its position is.
    stream.SetPosition(1);
    clipboard.WriteStream(stream);

    EXPECT_EQ(clipboard.FormatName(), "OstinelChannel");
    EXPECT_TRUE(clipboard.HasData());
    EXPECT_THAT(system.GetData("OstinelChannel").value(), ElementsAre(3, 0, 0, 0, 'a', 'b', 'c'));

    TMemoryStream read;
    read.Write("old content", 11);
    ASSERT_TRUE(clipboard.ReadStream(read));
    EXPECT_EQ(StreamBytes(read), (Bytes{'a', 'b', 'c'}));
    EXPECT_EQ(read.Position(), 0u);
}

TEST_F(BinClipboardFixture, NothingInTheFormatReadsNothing) {
    TMemoryStream stream;
    stream.Write("keep", 4);
    EXPECT_FALSE(clipboard.HasData());
    EXPECT_FALSE(clipboard.ReadStream(stream));

    system.SetText("just text");
    EXPECT_FALSE(clipboard.HasData());
    EXPECT_FALSE(clipboard.ReadStream(stream));

    system.SetData("OtherFormat", {0, 0, 0, 0});
    EXPECT_FALSE(clipboard.ReadStream(stream));
    EXPECT_EQ(StreamBytes(stream), (Bytes{'k', 'e', 'e', 'p'}));
}

TEST_F(BinClipboardFixture, BlocksAreCheckedAgainstTheirLengthWord) {
    struct Case {
        const char* name;
        Bytes block;
        std::optional<Bytes> stream; // nullopt: "Invalid data in Clipboard!"
    };
    const Case cases[] = {
        {"empty block", {}, std::nullopt},
        {"three bytes", {1, 0, 0}, std::nullopt},
        {"length word only", {0, 0, 0, 0}, Bytes{}},
        {"exact", {2, 0, 0, 0, 7, 8}, Bytes{7, 8}},
        {"block reported larger", {2, 0, 0, 0, 7, 8, 0, 0, 0, 0}, Bytes{7, 8}},
        {"length one too large", {3, 0, 0, 0, 7, 8}, std::nullopt},
        {"length far too large", {0xFF, 0xFF, 0xFF, 0x7F, 7, 8}, std::nullopt},
        {"negative length", {0xFE, 0xFF, 0xFF, 0xFF, 7, 8}, std::nullopt},
        {"most negative length", {0, 0, 0, 0x80, 7, 8}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system.SetData(kChannelClipboardFormat, c.block);
        TMemoryStream stream;
        if (c.stream) {
            ASSERT_TRUE(clipboard.ReadStream(stream));
            EXPECT_EQ(StreamBytes(stream), *c.stream);
        } else {
            try {
                (void)clipboard.ReadStream(stream);
                ADD_FAILURE() << "no error";
            } catch (const EBinClipboardError& e) {
                EXPECT_STREQ(e.what(), "Invalid data in Clipboard!");
            }
        }
    }
}

TEST_F(BinClipboardFixture, EmptyStreamRoundTrips) {
    clipboard.WriteStream(TMemoryStream{});
    EXPECT_THAT(system.GetData("OstinelChannel").value(), ElementsAre(0, 0, 0, 0));
    TMemoryStream stream;
    ASSERT_TRUE(clipboard.ReadStream(stream));
    EXPECT_EQ(stream.Size(), 0u);
}

} // namespace
} // namespace ostinel
