// The note map model: clamping setters, the default map, indexed access.
#include "engine/Ostin.h"
#include "common/Error.h"
#include "common/QelCommon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace ostinel {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(OstinToItem, SettersClampToTheirBounds) {
    struct Case {
        void (TOstinToItem::*set)(float);
        float (TOstinToItem::*get)() const;
        float in;
        float out;
    };
    const Case cases[] = {
        {&TOstinToItem::SetChannel, &TOstinToItem::Channel, 16.7f, 16},
        {&TOstinToItem::SetChannel, &TOstinToItem::Channel, 0.2f, 1},
        {&TOstinToItem::SetChannel, &TOstinToItem::Channel, kNaN, 1},
        {&TOstinToItem::SetChannel, &TOstinToItem::Channel, 2.5f, 2.5f},
        {&TOstinToItem::SetNote, &TOstinToItem::Note, -3, -1},
        {&TOstinToItem::SetNote, &TOstinToItem::Note, 200, 127},
        {&TOstinToItem::SetNote, &TOstinToItem::Note, -0.5f, -0.5f},
        {&TOstinToItem::SetProbability, &TOstinToItem::Probability, 101, 100},
        {&TOstinToItem::SetProbability, &TOstinToItem::Probability, -1, 0},
        {&TOstinToItem::SetRandom, &TOstinToItem::Random, 250, 200},
        {&TOstinToItem::SetRandom, &TOstinToItem::Random, kNaN, 0},
        {&TOstinToItem::SetVelocityScale, &TOstinToItem::VelocityScale, -120, -100},
        {&TOstinToItem::SetVelocityScale, &TOstinToItem::VelocityScale, 100.5f, 100},
        {&TOstinToItem::SetVelocityScale, &TOstinToItem::VelocityScale,
         std::numeric_limits<float>::infinity(), 100},
    };
    for (const Case& c : cases) {
        TOstinToItem item;
        (item.*c.set)(c.in);
        EXPECT_EQ((item.*c.get)(), c.out) << c.in;
    }
}

TEST(OstinToItem, RoundingsFollowEveryWrite) {
    // The mapping reads the roundings, the editor and the stream the values: every way of
    // writing a target must keep the two in step.
    using Set = void (TOstinToItem::*)(float);
    using Get = float (TOstinToItem::*)() const;
    using GetRounded = int (TOstinToItem::*)() const;
    struct Field {
        Set set;
        Get get;
        GetRounded rounded;
    };
    const Field fields[] = {
        {&TOstinToItem::SetChannel, &TOstinToItem::Channel, &TOstinToItem::ChannelRounded},
        {&TOstinToItem::SetNote, &TOstinToItem::Note, &TOstinToItem::NoteRounded},
        {&TOstinToItem::SetRandom, &TOstinToItem::Random, &TOstinToItem::RandomRounded},
        {&TOstinToItem::SetVelocityScale, &TOstinToItem::VelocityScale,
         &TOstinToItem::VelocityScaleRounded},
    };
    auto expectInStep = [&](const TOstinToItem& item) {
        for (const Field& f : fields)
            EXPECT_EQ((item.*f.rounded)(), RoundSingle((item.*f.get)()));
    };
    TOstinToItem fresh;
    expectInStep(fresh);
    for (const Field& f : fields) {
        for (const float v : {-300.0f, -100.5f, -99.5f, -0.5f, 0.5f, 1.5f, 2.5f, 15.5f, 16.5f,
                              126.5f, 127.49f, 199.5f, 300.0f, kNaN}) {
            TOstinToItem item;
            (item.*f.set)(v);
            expectInStep(item);
            TOstinToItem copy;
            copy.CopyFrom(item);
            expectInStep(copy);
            copy.ResetToCreation();
            expectInStep(copy);
        }
    }
    auto map = std::make_unique<TOstinel>(); // built by Reset
    for (int c = 0; c < kMapChannels; ++c)
        for (int n = 0; n < kMapNotes; ++n)
            for (int t = 0; t < kMapTargets; ++t)
                expectInStep((*map)[c].Notes[n].Targets[t]);
}

TEST(OstinelChannel, RangeSettersClampAndTheRangeIsInclusive) {
    TOstinelChannel channel;
    channel.SetRangeFrom(-5);
    channel.SetRangeTo(300);
    EXPECT_EQ(channel.RangeFrom(), 0);
    EXPECT_EQ(channel.RangeTo(), 127);
    channel.SetRangeFrom(36);
    channel.SetRangeTo(48);
    EXPECT_FALSE(channel.InRange(35));
    EXPECT_TRUE(channel.InRange(36));
    EXPECT_TRUE(channel.InRange(48));
    EXPECT_FALSE(channel.InRange(49));
    channel.SetRangeFrom(36.5f); // compared as floats, not rounded
    EXPECT_FALSE(channel.InRange(36));
    channel.SetRangeFrom(60); // from above to: nothing lies in the range
    EXPECT_FALSE(channel.InRange(50));
    EXPECT_FALSE(channel.InRange(60));
    channel.StoreRangeUnclamped(kNaN, 200); // the paste stores as read
    EXPECT_TRUE(std::isnan(channel.RangeFrom()));
    EXPECT_TRUE(channel.InRange(10)); // no note is less than NaN: no lower limit
}

TEST(Ostinel, ResetBuildsTheDefaultMap) {
    auto map = std::make_unique<TOstinel>();
    (*map)[3].SetActive(true);
    (*map)[0].Notes[5].Targets[1].SetNote(70);
    map->SetSelectedChannel(7);
    map->Reset();
    EXPECT_EQ(map->SelectedChannel(), 0);
    EXPECT_EQ(TOstinel::Count(), 16);
    for (int c = 0; c < 16; ++c) {
        const TOstinelChannel& channel = (*map)[c];
        EXPECT_EQ(channel.Active(), c == 0);
        EXPECT_EQ(channel.RangeFrom(), 0);
        EXPECT_EQ(channel.RangeTo(), 127);
        for (int n = 0; n < 128; ++n) {
            const TChannelOstinItem& row = channel.Notes[n];
            ASSERT_EQ(row.SourceNote(), n);
            for (int t = 0; t < 3; ++t) {
                const TOstinToItem& target = row.Targets[t];
                ASSERT_EQ(target.Channel(), static_cast<float>(c + 1));
                ASSERT_EQ(target.Note(), t == 0 ? static_cast<float>(n) : -1.0f);
                ASSERT_EQ(target.Probability(), 100);
                ASSERT_EQ(target.Random(), 0);
                ASSERT_EQ(target.VelocityScale(), 0);
            }
        }
    }
}

TEST(Ostinel, GetItemOutsideTheCollectionFails) {
    auto map = std::make_unique<TOstinel>();
    EXPECT_THROW((void)map->GetItem(16), Error);
    EXPECT_THROW((void)map->GetItem(-1), Error);
    EXPECT_THROW((void)map->GetItem(0).Notes.GetItem(128), Error);
    EXPECT_THROW((void)map->GetItem(0).Notes.GetItem(0).Targets.GetItem(3), Error);
    try {
        (void)map->GetItem(99);
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Argument out of range");
    }
    EXPECT_NO_THROW((void)map->GetItem(15).Notes.GetItem(127).Targets.GetItem(2));
}

TEST(Ostinel, CopyAndEquality) {
    auto a = std::make_unique<TOstinel>();
    auto b = std::make_unique<TOstinel>();
    EXPECT_TRUE(a->Equals(*b));
    (*a)[9].Notes[100].Targets[2].SetVelocityScale(-33);
    EXPECT_FALSE(a->Equals(*b));
    b->CopyFrom(*a);
    EXPECT_TRUE(a->Equals(*b));
}

} // namespace
} // namespace ostinel
