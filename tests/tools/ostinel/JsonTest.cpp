// The JSON reader behind `ostinel build` (nlohmann-json's parser with our places): what it
// accepts, and where it says bad input is bad.
#include "json/Json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

namespace ostinel::cli::json {
namespace {

TEST(Json, ReadsNestedValuesAndRemembersWhereTheyStart) {
    const Value v = Parse("{\n  \"a\": [1, -0.5e1, true, null],\n  \"b\": {\"c\": \"d\"}\n}");
    ASSERT_EQ(v.kind, Kind::Object);
    ASSERT_EQ(v.members.size(), 2u);
    const Value* a = v.Find("a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->items.size(), 4u);
    EXPECT_EQ(a->items[0].number, 1.0);
    EXPECT_EQ(a->items[1].number, -5.0);
    EXPECT_EQ(a->items[1].text, "-0.5e1"); // the source text, for exact float reading
    EXPECT_TRUE(a->items[2].boolean);
    EXPECT_EQ(a->items[3].kind, Kind::Null);
    EXPECT_EQ(a->where.line, 2u);
    EXPECT_EQ(a->where.column, 8u);
    EXPECT_EQ(v.Find("b")->Find("c")->text, "d");
    EXPECT_EQ(v.members[1].keyWhere.line, 3u);
    EXPECT_EQ(v.Find("zz"), nullptr);
}

TEST(Json, DecodesEscapesToUtf8) {
    const Value v = Parse(R"(["\"\\\/\b\f\n\r\t", "\u00e9\u20AC", "\ud83c\udfb9", "caf\u00E9 é"])");
    EXPECT_EQ(v.items[0].text, "\"\\/\b\f\n\r\t");
    EXPECT_EQ(v.items[1].text, "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(v.items[2].text, "\xF0\x9F\x8E\xB9"); // surrogate pair: U+1F3B9
    EXPECT_EQ(v.items[3].text, "caf\xC3\xA9 \xC3\xA9");
}

TEST(Json, SkipsAByteOrderMark) {
    EXPECT_EQ(Parse("\xEF\xBB\xBF[]").kind, Kind::Array);
}

TEST(Json, PlacesCountBytesAndLinesEndAtLineFeeds) {
    // The mark counts as three columns, a carriage return as one.
    const Value v =
        Parse("\xEF\xBB\xBF{\r\n  \"\xC3\xA9\": [-0, \"\\\"x\", 1.5e3],\n\t\"b\":null}");
    EXPECT_EQ(v.where.column, 4u);
    const Member& first = v.members[0];
    EXPECT_EQ(first.keyWhere.line, 2u);
    EXPECT_EQ(first.keyWhere.column, 3u);
    ASSERT_EQ(first.value.items.size(), 3u);
    EXPECT_EQ(first.value.where.column, 9u);
    EXPECT_EQ(first.value.items[0].text, "-0"); // the sign of -0 is kept for the float reader
    EXPECT_TRUE(std::signbit(first.value.items[0].number));
    EXPECT_EQ(first.value.items[1].where.column, 14u);
    EXPECT_EQ(first.value.items[1].text, "\"x");
    EXPECT_EQ(first.value.items[2].where.column, 21u);
    EXPECT_EQ(first.value.items[2].text, "1.5e3");
    EXPECT_EQ(v.members[1].keyWhere.line, 3u);
    EXPECT_EQ(v.members[1].keyWhere.column, 2u);
    EXPECT_EQ(v.members[1].value.where.column, 6u);
}

TEST(Json, QuoteEscapesOnlyWhatJsonRequires) {
    EXPECT_EQ(Quote("a\"b\\c/\n\r\t\x01\x1F \xC3\xA9\xF0\x9F\x8E\xB9"),
              "\"a\\\"b\\\\c/\\n\\r\\t\\u0001\\u001f \xC3\xA9\xF0\x9F\x8E\xB9\"");
}

TEST(Json, QuoteReadsBackAsTheSameText) {
    for (const std::string& text :
         {std::string(""), std::string("plain"), std::string("a\"b\\c"),
          std::string("tab\tnew\nline\x01\x1F\x7F"), std::string("\xC3\xA9\xF0\x9F\x8E\xB9"),
          std::string("nul\0in", 6)}) {
        EXPECT_EQ(Parse(Quote(text)).text, text);
    }
}

TEST(Json, SyntaxErrorsNameLineAndColumn) {
    struct Case {
        std::string_view text;
        const char* message;
    };
    const Case cases[] = {
        {"", "line 1, column 1: unexpected end of the document, expected a value"},
        {"[1,]", "line 1, column 4: expected a value, found ']'"},
        {"{\"a\" 1}", "line 1, column 6: expected ':' after a key, found '1'"},
        {"{\"a\":1,}", "line 1, column 8: expected a key in double quotes, found '}'"},
        {"{\"a\":1 \"b\":2}", "line 1, column 8: expected ',' or '}' in an object, found '\"'"},
        {"[1 2]", "line 1, column 4: expected ',' or ']' in an array, found '2'"},
        {"{\"a\":1,\n \"a\":2}", "line 2, column 2: duplicate key \"a\""},
        {"\n  \"abc", "line 2, column 3: string not closed before the end of the document"},
        {"\"a\tb\"", "line 1, column 3: control character byte 0x09 in a string (write it as "
                     "an escape)"},
        {"\"\\x\"", "line 1, column 2: unknown escape \\x"},
        {"\"\\u12G4\"", "line 1, column 6: expected a hexadecimal digit in a \\u escape, found "
                        "'G'"},
        {"\"\\ud83c\"", "line 1, column 2: \\u escape of a high surrogate without a low "
                        "surrogate after it"},
        {"\"\\udfb9\"", "line 1, column 2: \\u escape of a low surrogate without a high "
                        "surrogate before it"},
        {"\"\xC3\"", "line 1, column 2: invalid UTF-8 (byte 0xC3) in a string"},
        {"\"\xED\xA0\x80\"", "line 1, column 2: invalid UTF-8 (byte 0xED) in a string"},
        {"012", "line 1, column 2: a number may not start with 0 followed by digits"},
        {"-", "line 1, column 2: expected a digit in a number"},
        {"1.", "line 1, column 3: expected a digit after the decimal point"},
        {"1e+", "line 1, column 4: expected a digit in the exponent"},
        {"[1e999]", "line 1, column 2: number 1e999 is out of range"},
        {"NaN", "line 1, column 1: expected a value, found 'N'"},
        {"tru", "line 1, column 1: expected a value, found 't'"},
        {"{} {}", "line 1, column 4: unexpected text after the end of the document"},
        {"// c\n{}", "line 1, column 1: expected a value, found '/'"},
        // The place is where the bad token, escape or byte starts, not where the parser stopped.
        {"[1,\n  x]", "line 2, column 3: expected a value, found 'x'"},
        {"[truex]", "line 1, column 6: expected ',' or ']' in an array, found 'x'"},
        {"[1 \"\\x\"]", "line 1, column 4: expected ',' or ']' in an array, found '\"'"},
        {"{\"a\":1 -}", "line 1, column 8: expected ',' or '}' in an object, found '-'"},
        {"{\"a\":", "line 1, column 6: unexpected end of the document, expected a value"},
        {"{\"a\"", "line 1, column 5: unexpected end of the document, expected ':' after a key"},
        {"{\"a\":1,", "line 1, column 8: unexpected end of the document inside an object"},
        {"[1", "line 1, column 3: unexpected end of the document, expected ',' or ']'"},
        {"{\"a\":{\"b\":[1,{\"c\":tru}]}}", "line 1, column 19: expected a value, found 't'"},
        {"\xEF\xBB\xBF[1,]", "line 1, column 7: expected a value, found ']'"},
        {"\xEF\xBB[]", "line 1, column 1: expected a value, found byte 0xEF"},
        {"[01]", "line 1, column 3: a number may not start with 0 followed by digits"},
        {"[1e-400]", "line 1, column 2: number 1e-400 is out of range"},
        {"[\"\\ud83c\\u0041\"]", "line 1, column 3: \\u escape of a high surrogate without a "
                                 "low surrogate after it"},
        {"[\"\\ud83c\\ud83c\"]", "line 1, column 3: \\u escape of a high surrogate without a "
                                 "low surrogate after it"},
        {"\"\\u12", "line 1, column 4: unexpected end of the document in a \\u escape"},
        {"\"\\", "line 1, column 3: unexpected end of the document in an escape"},
        {"[1,\"\xF4\x90\x80\x80\"]", "line 1, column 5: invalid UTF-8 (byte 0xF4) in a string"},
        {"\"\xC3\xA9\xF5\"", "line 1, column 4: invalid UTF-8 (byte 0xF5) in a string"},
        {std::string_view("[\0]", 3), "line 1, column 2: expected a value, found byte 0x00"},
    };
    for (const Case& c : cases) {
        try {
            (void)Parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const JsonError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.text;
        }
    }
}

TEST(Json, NestingIsLimitedInsteadOfExhaustingTheStack) {
    const std::string ok = std::string(kMaxDepth, '[') + std::string(kMaxDepth, ']');
    EXPECT_NO_THROW((void)Parse(ok));
    const std::string deep(100000, '[');
    try {
        (void)Parse(deep);
        ADD_FAILURE();
    } catch (const JsonError& e) {
        EXPECT_EQ(e.Where().column, kMaxDepth + 1);
        EXPECT_NE(std::string(e.what()).find("nesting deeper than 64 levels"), std::string::npos);
    }
}

} // namespace
} // namespace ostinel::cli::json
