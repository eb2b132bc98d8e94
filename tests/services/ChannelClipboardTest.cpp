// Copy and paste of one channel through an in-memory clipboard: the stream is one channel
// entry of the state stream, and a paste reaches the map only when it decodes completely.
#include "services/ChannelClipboard.h"

#include "services/BinClipboard.h"
#include "services/ChannelClipboardSupport.h"

#include "common/Error.h"
#include "platform/headless/HeadlessClipboard.h"
#include "state/ValueWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

namespace ostinel {
namespace {

using test::ChannelStream;
using test::FillDistinctChannel;

struct ChannelClipboardFixture : ::testing::Test {
    platform::HeadlessClipboard system;
    TBinClipboard clipboard{system, kChannelClipboardFormat};
    TNoteMapStore maps;

    [[nodiscard]] TOstinelChannel& Channel(int index) { return maps.Edit()[index]; }

    // The message of the paste's error; empty when it succeeded.
    [[nodiscard]] std::string PasteError(int channel) {
        try {
            PasteFromClipboard(maps, channel, clipboard);
        } catch (const Error& e) {
            return e.what();
        }
        return {};
    }

    void PlaceBlock(std::vector<std::uint8_t> block) {
        system.SetData(kChannelClipboardFormat, block);
    }
};

TEST_F(ChannelClipboardFixture, DefaultChannelIsOneChannelEntryOfTheStateStream) {
    CopyToClipboard(Channel(0), clipboard);
    const auto block = system.GetData(kChannelClipboardFormat).value();
    ASSERT_EQ(block.size(), 23717u);
    EXPECT_EQ(block[0] | block[1] << 8 | block[2] << 16 | block[3] << 24, 23713);

    TMemoryStream expected;
    TValueWriter writer(expected);
    writer.WriteSignature();
    WriteChannelEntry(writer, Channel(0));
    EXPECT_TRUE(std::equal(block.begin() + 4, block.end(), expected.Bytes().begin(),
                           expected.Bytes().end()));
    // "TPF0", channel begin, header begin, true.
    EXPECT_EQ(std::string(block.begin() + 4, block.begin() + 11), "TPF0\x01\x01\x09");
}

TEST_F(ChannelClipboardFixture, CopyThenPasteIntoTheSameChannelChangesNothing) {
    FillDistinctChannel(Channel(3));
    auto before = std::make_unique<TOstinel>();
    before->CopyFrom(maps.Read());
    CopyToClipboard(Channel(3), clipboard);
    EXPECT_EQ(PasteError(3), "");
    EXPECT_TRUE(maps.Read().Equals(*before));
}

TEST_F(ChannelClipboardFixture, ChannelOneOntoChannelFiveKeepsTheTargetChannels) {
    CopyToClipboard(Channel(0), clipboard);
    ASSERT_FALSE(Channel(4).Active());
    EXPECT_EQ(PasteError(4), "");
    EXPECT_TRUE(Channel(4).Active());
    EXPECT_TRUE(Channel(4).Equals(Channel(0)));
    EXPECT_EQ(Channel(4).Notes[60].Targets[0].Channel(), 1.0f);
    EXPECT_EQ(Channel(4).Notes[60].Targets[0].Note(), 60.0f);
}

// The pasted channel is what the audio thread maps with afterwards.
TEST_F(ChannelClipboardFixture, PasteIsPublishedToTheAudioThread) {
    TOstinelChannel source;
    FillDistinctChannel(source);
    CopyToClipboard(source, clipboard);
    EXPECT_EQ(PasteError(7), "");
    TNoteMapStore::AudioGuard audio(maps);
    EXPECT_TRUE(audio.Map()[7].Equals(source));
    EXPECT_FALSE(maps.InBulkUpdate());
}

// Every failing paste leaves the whole map, as the audio thread sees it, untouched.
TEST_F(ChannelClipboardFixture, FailedPasteLeavesTheChannelAndNamesTheError) {
    const test::RawTarget target{1, 5, 100, 0, 0};
    TMemoryStream rows129 = ChannelStream(true, 1, 2, 129, 0, target);
    TMemoryStream truncated = ChannelStream(true, 1, 2, 128, 0, target);
    truncated.Resize(truncated.Size() - 30);
    TMemoryStream wrongSignature = ChannelStream(true, 1, 2, 1, 0, target);
    wrongSignature.Data()[3] = '1';
    TMemoryStream wrongTag = ChannelStream(true, 1, 2, 1, 0, target);
    wrongTag.Data()[5] = 0x02; // header begin replaced by an integer tag

    struct Case {
        const char* name;
        std::function<void()> place;
        const char* message;
    };
    const Case cases[] = {
        {"nothing", [&] { system.Clear(); }, "Empty clipboard"},
        {"only text", [&] { system.SetText("60"); }, "Empty clipboard"},
        {"three bytes",
         [&] {
             PlaceBlock({4, 0, 0});
         },
         "Invalid data in Clipboard!"},
        {"length too large",
         [&] {
             PlaceBlock({9, 0, 0, 0, 'T', 'P', 'F', '0'});
         },
         "Invalid data in Clipboard!"},
        {"negative length",
         [&] {
             PlaceBlock({0xFC, 0xFF, 0xFF, 0xFF, 'T', 'P', 'F', '0'});
         },
         "Invalid data in Clipboard!"},
        {"empty stream",
         [&] {
             PlaceBlock({0, 0, 0, 0});
         },
         "Invalid stream format"},
        {"wrong signature", [&] { clipboard.WriteStream(wrongSignature); },
         "Invalid stream format"},
        {"wrong tag", [&] { clipboard.WriteStream(wrongTag); }, "Invalid property value"},
        {"129 rows", [&] { clipboard.WriteStream(rows129); }, "Argument out of range"},
        {"truncated rows", [&] { clipboard.WriteStream(truncated); }, "Stream read error"},
    };
    FillDistinctChannel(Channel(2));
    auto before = std::make_unique<TOstinel>();
    before->CopyFrom(maps.Read());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.place();
        EXPECT_EQ(PasteError(2), c.message);
        TNoteMapStore::AudioGuard audio(maps);
        EXPECT_TRUE(audio.Map().Equals(*before));
    }
}

TEST_F(ChannelClipboardFixture, HeaderAsReadTargetsClampedRowsNotReachedKept) {
    FillDistinctChannel(Channel(1));
    TOstinelChannel before;
    FillDistinctChannel(before);
    // Two rows only, a range outside 0..127 (a copy never produces one) and targets beyond
    // their bounds.
    clipboard.WriteStream(ChannelStream(true, -5, 300, 2, 1000, {40, 128, 150, -300, 250}));

    EXPECT_EQ(PasteError(1), "");
    const TOstinelChannel& c = Channel(1);
    EXPECT_TRUE(c.Active());
    EXPECT_EQ(c.RangeFrom(), -5.0f);
    EXPECT_EQ(c.RangeTo(), 300.0f);
    for (int n = 0; n < 2; ++n) {
        EXPECT_EQ(c.Notes[n].SourceNote(), 1000);
        for (int t = 0; t < kMapTargets; ++t) {
            const TOstinToItem& target = c.Notes[n].Targets[t];
            EXPECT_EQ(target.Channel(), 16.0f);
            EXPECT_EQ(target.Note(), 127.0f);
            EXPECT_EQ(target.Probability(), 100.0f);
            EXPECT_EQ(target.VelocityScale(), -100.0f);
            EXPECT_EQ(target.Random(), 200.0f);
        }
    }
    for (int n = 2; n < kMapNotes; ++n) {
        EXPECT_EQ(c.Notes[n].SourceNote(), before.Notes[n].SourceNote());
        EXPECT_EQ(c.Notes[n].Targets[0].Note(), before.Notes[n].Targets[0].Note());
    }
}

TEST_F(ChannelClipboardFixture, BlockReportedLargerIsAccepted) {
    TOstinelChannel source;
    FillDistinctChannel(source);
    CopyToClipboard(source, clipboard);
    auto block = system.GetData(kChannelClipboardFormat).value();
    block.resize(block.size() + 13, 0);
    PlaceBlock(block);
    EXPECT_EQ(PasteError(9), "");
    EXPECT_TRUE(Channel(9).Equals(source));
}

TEST_F(ChannelClipboardFixture, ChannelOutsideTheMapIsRefused) {
    CopyToClipboard(Channel(0), clipboard);
    EXPECT_EQ(PasteError(16), "Argument out of range");
    EXPECT_EQ(PasteError(-1), "Argument out of range");
}

} // namespace
} // namespace ostinel
