// Command-line parsing of the sub-commands.
#include "cli/Arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostinel::cli {
namespace {

Arguments Parse(const std::vector<std::string>& args) {
    return Arguments(args, {{"--preset"}, {"--output", "-o"}, {"--quiet", "", false}});
}

TEST(Arguments, PositionalsAndOptionsInAnyOrder) {
    const Arguments a = Parse({"in.mid", "--preset=p.quorvatp", "-o", "x", "out.mid", "--quiet"});
    EXPECT_EQ(a.Positional(), (std::vector<std::string>{"in.mid", "out.mid"}));
    EXPECT_EQ(a.Value("--preset"), "p.quorvatp");
    EXPECT_EQ(a.Value("--output"), "x"); // the short alias lands on the long name
    EXPECT_TRUE(a.Has("--quiet"));
    EXPECT_FALSE(a.Help());
}

TEST(Arguments, DoubleDashEndsOptionsAndDashAloneIsPositional) {
    const Arguments a = Parse({"--", "--preset", "-"});
    EXPECT_EQ(a.Positional(), (std::vector<std::string>{"--preset", "-"}));
    EXPECT_FALSE(a.Has("--preset"));
}

TEST(Arguments, HelpIsAlwaysKnown) {
    EXPECT_TRUE(Parse({"-h"}).Help());
    EXPECT_TRUE(Parse({"x", "--help"}).Help());
}

TEST(Arguments, UsageErrorsNameTheOption) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--presets", "x"}, "unknown option --presets"},
        {{"--preset"}, "option --preset needs a value"},
        {{"--preset", "a", "--preset=b"}, "option --preset is given more than once"},
        {{"--quiet=yes"}, "option --quiet takes no value"},
    };
    for (const Case& c : cases) {
        try {
            (void)Parse(c.args);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const UsageError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(Arguments, NumbersAreCheckedAgainstTheirRange) {
    EXPECT_EQ(ParseWhole("512", "--block", 1, 65536), 512u);
    EXPECT_EQ(ParseWhole("4294967295", "--seed", 0, 0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(ParseSigned("-2", "--lowest-octave", -2, 0), -2);
    EXPECT_DOUBLE_EQ(ParseDecimal("48000.5", "--rate", 8000, 384000), 48000.5);
    for (const char* bad : {"0", "65537", "-1", "12x", "", " 5", "1e3"})
        EXPECT_THROW((void)ParseWhole(bad, "--block", 1, 65536), UsageError) << bad;
    for (const char* bad : {"7999", "nan", "inf", "44100Hz"})
        EXPECT_THROW((void)ParseDecimal(bad, "--rate", 8000, 384000), UsageError) << bad;
    try {
        (void)ParseWhole("0", "--block", 1, 65536);
    } catch (const UsageError& e) {
        EXPECT_STREQ(e.what(), "--block must be a number from 1 to 65536, not \"0\"");
    }
}

} // namespace
} // namespace ostinel::cli
