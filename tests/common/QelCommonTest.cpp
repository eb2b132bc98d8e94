#include "common/QelCommon.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <thread>

namespace ostinel {
namespace {

// ---- Note names and the process-wide octave offset ----

class OctaveOffsetTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = OctaveOffset(); }
    void TearDown() override { SetOctaveOffset(saved_); }

private:
    std::int8_t saved_ = 0;
};

struct NoteCase {
    int note;
    const char* name;
    int octaveAtMinus2;
    int octaveAt0;
};

TEST_F(OctaveOffsetTest, NoteNamesAndOctavesForBothOffsets) {
    const NoteCase cases[] = {
        {0, "C", -2, 0}, {1, "C#", -2, 0}, {11, "B", -2, 0}, {12, "C", -1, 1},  {13, "C#", -1, 1},
        {59, "B", 2, 4}, {60, "C", 3, 5},  {70, "A#", 3, 5}, {127, "G", 8, 10},
    };
    for (const NoteCase& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(NoteName(c.note), c.name);
        SetOctaveOffset(-2);
        EXPECT_EQ(NoteOctave(c.note), c.octaveAtMinus2);
        SetOctaveOffset(0);
        EXPECT_EQ(NoteOctave(c.note), c.octaveAt0);
    }
}

TEST_F(OctaveOffsetTest, NegativeNoteHasNoName) {
    EXPECT_EQ(NoteName(-1), "");
    EXPECT_EQ(NoteName(std::numeric_limits<int>::min()), "");
}

TEST_F(OctaveOffsetTest, OffsetWrittenOnOneThreadIsSeenByAnother) {
    // Two plug-in instances in one host: the second draws with the offset the first set.
    SetOctaveOffset(0);
    std::thread([] { SetOctaveOffset(-1); }).join();
    int seen = 0;
    std::thread([&seen] { seen = NoteOctave(60); }).join();
    EXPECT_EQ(seen, 4);
}

TEST_F(OctaveOffsetTest, ConcurrentWritersAndReadersSeeOnlyWrittenValues) {
    std::thread writer([] {
        for (int i = 0; i < 20000; ++i)
            SetOctaveOffset(static_cast<std::int8_t>(-(i % 3)));
    });
    bool onlyValid = true;
    for (int i = 0; i < 20000; ++i) {
        const int octave = NoteOctave(24);
        onlyValid = onlyValid && octave >= 0 && octave <= 2;
    }
    writer.join();
    EXPECT_TRUE(onlyValid);
}

// ---- Integers ----

TEST(FormatIntTest, SignRules) {
    struct Case {
        std::int32_t value;
        bool showPlus;
        const char* text;
    };
    const Case cases[] = {
        {0, false, "0"},
        {0, true, "0"},
        {5, false, "5"},
        {5, true, "+5"},
        {-5, false, "-5"},
        {-5, true, "-5"},
        {std::numeric_limits<std::int32_t>::min(), true, "-2147483648"},
        {std::numeric_limits<std::int32_t>::max(), true, "+2147483647"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatInt(c.value, c.showPlus), c.text);
        EXPECT_EQ(FormatInt64(c.value, c.showPlus), c.text);
    }
    EXPECT_EQ(FormatInt64(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(FormatInt64(std::numeric_limits<std::int64_t>::max(), true), "+9223372036854775807");
}

// ---- FormatSingle ----

struct SingleCase {
    float value;
    bool showPlus;
    char separator;
    const char* text;
};

TEST(FormatSingleTest, GeneralFormatWithFifteenDigits) {
    const SingleCase cases[] = {
        {60.25F, false, '.', "60.25"},
        {3.0F, false, '.', "3"},
        {0.1F, false, '.', "0.100000001490116"},
        {0.5F, true, '.', "+0.5"},
        {0.0F, true, '.', "0"},
        {-0.0F, false, '.', "0"},
        {-2.5F, true, '.', "-2.5"},
        {100.0F, false, '.', "100"},
        {127.0F, true, '.', "+127"},
        {60.25F, false, ',', "60,25"},
        {0.1F, true, ',', "+0,100000001490116"},
        // 15 integer digits still fixed, 16 switch to the exponent form.
        {1e15F, false, '.', "999999986991104"},
        {1e16F, false, '.', "1.00000002725642E16"},
        {1e20F, true, '.', "+1.00000002004088E20"},
        {-3.4028235e38F, false, '.', "-3.40282346638529E38"},
        // Down to 0.00001 fixed, below it the exponent form.
        {1.5e-5F, false, '.', "0.0000149999996210681"},
        {1e-5F, false, '.', "9.99999974737875E-6"},
        {1e-6F, false, ',', "9,99999997475243E-7"},
        {std::numeric_limits<float>::denorm_min(), false, '.', "1.40129846432482E-45"},
    };
    for (const SingleCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatSingle(c.value, c.showPlus, c.separator), c.text);
    }
}

TEST(FormatSingleTest, NonFiniteValues) {
    EXPECT_EQ(FormatSingle(std::numeric_limits<float>::quiet_NaN(), true, '.'), "NAN");
    EXPECT_EQ(FormatSingle(std::numeric_limits<float>::infinity(), false, '.'), "INF");
    EXPECT_EQ(FormatSingle(std::numeric_limits<float>::infinity(), true, '.'), "+INF");
    EXPECT_EQ(FormatSingle(-std::numeric_limits<float>::infinity(), true, '.'), "-INF");
}

// ---- Rounding ----

TEST(RoundTest, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        std::int64_t rounded;
    };
    const Case cases[] = {
        {0.5, 0},     {1.5, 2},
        {2.5, 2},     {3.5, 4},
        {-0.5, 0},    {-1.5, -2},
        {-2.5, -2},   {0.0, 0},
        {0.49, 0},    {0.51, 1},
        {-0.51, -1},  {126.5, 126},
        {127.5, 128}, {1e10, 10000000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundDouble(c.value), c.rounded);
        EXPECT_EQ(RoundSingle(static_cast<float>(c.value)), c.rounded);
    }
}

TEST(RoundTest, ValuesNextToHalvesAndLargeMagnitudes) {
    EXPECT_EQ(RoundDouble(0.49999999999999994), 0);
    EXPECT_EQ(RoundDouble(-0.49999999999999994), 0);
    EXPECT_EQ(RoundDouble(4503599627370497.0), 4503599627370497); // 2^52 + 1
    EXPECT_EQ(RoundDouble(4503599627370495.5), 4503599627370496);
    EXPECT_EQ(RoundSingle(std::nextafter(2.5F, 3.0F)), 3);
    EXPECT_EQ(RoundSingle(std::nextafter(2.5F, 2.0F)), 2);
    EXPECT_EQ(RoundSingle(8388609.0F), 8388609); // 2^23 + 1
}

TEST(RoundTest, SingleAgreesWithDoubleAroundEveryQuarter) {
    // RoundSingle takes a single-precision path below 2^23: it must round exactly as the
    // widened value does, on the quarters, next to them, and at the edge of that path.
    auto check = [](float v) {
        for (const float x : {v, std::nextafter(v, -INFINITY), std::nextafter(v, INFINITY)})
            ASSERT_EQ(RoundSingle(x), RoundDouble(static_cast<double>(x))) << x;
    };
    for (int i = -1200; i <= 1200; ++i)
        check(static_cast<float>(i) * 0.25f);
    for (const float edge : {4194304.0f, 8388607.5f, 8388608.0f, 16777216.0f})
        for (const float sign : {1.0f, -1.0f})
            check(sign * edge);
}

TEST(RoundTest, OutOfRangeSaturatesAndNaNGivesZero) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(RoundDouble(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundSingle(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(RoundDouble(1e300), kMax);
    EXPECT_EQ(RoundDouble(-1e300), kMin);
    EXPECT_EQ(RoundSingle(std::numeric_limits<float>::infinity()), kMax);
    EXPECT_EQ(RoundSingle(-std::numeric_limits<float>::infinity()), kMin);
    EXPECT_EQ(RoundDouble(-9223372036854775808.0), kMin);
    EXPECT_EQ(RoundDouble(9223372036854774784.0), 9223372036854774784); // largest double < 2^63
}

TEST(RoundTest, IndependentOfTheFpuRoundingMode) {
    // A host may leave the FPU in another mode; the results must not change.
    const int saved = std::fegetround();
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        EXPECT_EQ(RoundDouble(2.5), 2);
        EXPECT_EQ(RoundDouble(3.5), 4);
        EXPECT_EQ(RoundDouble(-2.5), -2);
        EXPECT_EQ(RoundDouble(2.4), 2);
        EXPECT_EQ(RoundDouble(-2.6), -3);
        EXPECT_EQ(RoundSingle(0.5F), 0);
        EXPECT_EQ(RoundSingle(1.5F), 2);
    }
    std::fesetround(saved);
}

TEST(RoundTest, AudioThreadFunctionsAreNoexcept) {
    static_assert(noexcept(RoundSingle(0.0F)));
    static_assert(noexcept(RoundDouble(0.0)));
    static_assert(noexcept(NoteOctave(0)));
}

// ---- Floor, decade captions, small helpers ----

TEST(FloorToMultipleTest, Cases) {
    EXPECT_DOUBLE_EQ(FloorToMultiple(125, 10), 120);
    EXPECT_DOUBLE_EQ(FloorToMultiple(120, 10), 120);
    EXPECT_DOUBLE_EQ(FloorToMultiple(-5, 10), -10);
    EXPECT_DOUBLE_EQ(FloorToMultiple(7.6, 2.5), 7.5);
    EXPECT_DOUBLE_EQ(FloorToMultiple(7.6, 0), 7.6);
}

TEST(DecadeRangeTextTest, Captions) {
    struct Case {
        int value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0 \u2013 9"},
        {9, "0 \u2013 9"},
        {10, "10 \u2013 19"},
        {119, "110 \u2013 119"},
        {120, "120 \u2013 127"},
        {125, "120 \u2013 127"},
        {127, "120 \u2013 127"},
        {-5, "-10 \u2013 -1"},
        {std::numeric_limits<int>::min(), "-2147483650 \u2013 -2147483641"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(DecadeRangeText(c.value), c.text);
    }
    // The dash is the UTF-8 en dash between two spaces.
    EXPECT_EQ(DecadeRangeText(0), std::string("0 \xE2\x80\x93 9"));
}

TEST(SmallHelpersTest, NegAbsAndChoose) {
    EXPECT_EQ(NegAbs(5), -5);
    EXPECT_EQ(NegAbs(-5), -5);
    EXPECT_EQ(NegAbs(0), 0);
    EXPECT_EQ(NegAbs(std::numeric_limits<int>::min()), std::numeric_limits<int>::min());
    EXPECT_DOUBLE_EQ(NegAbs(2.5), -2.5);
    EXPECT_EQ(Choose(true, 1, 2), 1);
    EXPECT_EQ(Choose(false, 1, 2), 2);
    EXPECT_EQ(Choose(true, "yes", "no"), "yes");
    EXPECT_EQ(Choose(false, "yes", "no"), "no");
}

// ---- Text ----

TEST(GetDelimitedFieldTest, Fields) {
    struct Case {
        const char* text;
        int field;
        const char* delimiter;
        const char* result;
    };
    const Case cases[] = {
        {"a;b;c", 1, ";", "a"},
        {"a;b;c", 2, ";", "b"},
        {"a;b;c", 3, ";", "c"},
        {"a;;c", 2, ";", ""},
        {"a;b;c", 4, ";", ""},
        {"a;b;c;", 3, ";", "c"},
        {"a;b;c;", 4, ";", ""},
        {"a;b;c", 0, ";", ""},
        {"a;b;c", -1, ";", ""},
        {"", 1, ";", ""},
        {"abc", 1, ";", "abc"},
        // Quotes: a quoted delimiter does not split; one outer quote pair is removed.
        {"\"a;b\";c", 1, ";", "a;b"},
        {"\"a;b\";c", 2, ";", "c"},
        {"x\"y;z\"w;v", 1, ";", "x\"y;z\"w"},
        {"\"\"\"a\"\"\";b", 1, ";", "\"\"a\"\""},
        {"\"\"", 1, ";", ""},
        {"\"abc;d", 1, ";", ""}, // an unclosed quote hides every later delimiter
        // Delimiters of several characters.
        {"a, b, c", 2, ", ", "b"},
        {"a<>b<>c", 3, "<>", "c"},
        {"a;;;b", 2, ";;", ";b"},
        // UTF-8 text and delimiters.
        {"\xC3\xA4\xC3\xB6;\xC3\xBC", 2, ";", "\xC3\xBC"},
        {"a\xE2\x80\x93"
         "b",
         2, "\xE2\x80\x93", "b"},
        // An empty delimiter: the whole text is the one field.
        {"a;b", 1, "", "a;b"},
        {"a;b", 2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " #" + std::to_string(c.field));
        EXPECT_EQ(GetDelimitedField(c.text, c.field, c.delimiter), c.result);
    }
}

TEST(CountOccurrencesTest, NonOverlappingFromTheLeft) {
    EXPECT_EQ(CountOccurrences(",", "a,b,,c"), 3);
    EXPECT_EQ(CountOccurrences("aa", "aaaa"), 2);
    EXPECT_EQ(CountOccurrences("aa", "aaa"), 1);
    EXPECT_EQ(CountOccurrences("x", ""), 0);
    EXPECT_EQ(CountOccurrences("", "abc"), 0);
    EXPECT_EQ(CountOccurrences("abc", "ab"), 0);
}

TEST(SanitizeFileNameTest, ReplacesExactlyTheNineCharacters) {
    EXPECT_EQ(SanitizeFileName("a/b:c?"), "a_b_c_");
    EXPECT_EQ(SanitizeFileName("\\/:*?\"<>|"), "_________");
    EXPECT_EQ(SanitizeFileName("  Bass Line. "), "  Bass Line. ");
    EXPECT_EQ(SanitizeFileName("Gr\xC3\xB6\xC3\x9F"
                               "e [1] & #2;'"),
              "Gr\xC3\xB6\xC3\x9F"
              "e [1] & #2;'");
    EXPECT_EQ(SanitizeFileName(""), "");
}

TEST(ExtractNameWithoutExtTest, Cases) {
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Users\\me\\Documents\\Quorvat\\Ostinel\\Presets\\Bass Line.quorvatp", "Bass Line"},
        {"/home/me/Documents/Quorvat/Ostinel/Presets/Bass Line.quorvatp", "Bass Line"},
        {"Bass Line", "Bass Line"},
        {"Bass Line.quorvatp", "Bass Line"},
        {"a.b.c", "a.b"},
        {"C:name.ext", "name"},
        {"dir.x/name", "name"},
        {"dir.x\\name", "name"},
        {"/folder/", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractNameWithoutExt(c.path), c.name);
    }
}

} // namespace
} // namespace ostinel
