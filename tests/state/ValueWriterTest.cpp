#include "StateTestSupport.h"

#include "state/ValueWriter.h"

#include <functional>
#include <limits>

namespace ostinel::test {
namespace {

Bytes Written(const std::function<void(TValueWriter&)>& write) {
    TMemoryStream stream;
    TValueWriter writer(stream);
    write(writer);
    return StreamBytes(stream);
}

struct EncodingCase {
    const char* name;
    std::function<void(TValueWriter&)> write;
    Bytes expected;
};

TEST(ValueWriter, EncodesValuesByteExactly) {
    const EncodingCase cases[] = {
        {"signature", [](auto& w) { w.WriteSignature(); }, Ascii("TPF0")},
        {"list begin", [](auto& w) { w.WriteListBegin(); }, B({0x01})},
        {"list end", [](auto& w) { w.WriteListEnd(); }, B({0x00})},
        {"false", [](auto& w) { w.WriteBoolean(false); }, B({0x08})},
        {"true", [](auto& w) { w.WriteBoolean(true); }, B({0x09})},
        {"0", [](auto& w) { w.WriteInteger(0); }, B({0x02, 0x00})},
        {"127", [](auto& w) { w.WriteInteger(127); }, B({0x02, 0x7F})},
        {"-128", [](auto& w) { w.WriteInteger(-128); }, B({0x02, 0x80})},
        {"128", [](auto& w) { w.WriteInteger(128); }, B({0x03, 0x80, 0x00})},
        {"-129", [](auto& w) { w.WriteInteger(-129); }, B({0x03, 0x7F, 0xFF})},
        {"32767", [](auto& w) { w.WriteInteger(32767); }, B({0x03, 0xFF, 0x7F})},
        {"-32768", [](auto& w) { w.WriteInteger(-32768); }, B({0x03, 0x00, 0x80})},
        {"32768", [](auto& w) { w.WriteInteger(32768); }, B({0x04, 0x00, 0x80, 0x00, 0x00})},
        {"-32769", [](auto& w) { w.WriteInteger(-32769); }, B({0x04, 0xFF, 0x7F, 0xFF, 0xFF})},
        {"int32 max", [](auto& w) { w.WriteInteger(2147483647); },
         B({0x04, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"int32 min", [](auto& w) { w.WriteInteger(-2147483647 - 1); },
         B({0x04, 0x00, 0x00, 0x00, 0x80})},
        {"float 0", [](auto& w) { w.WriteFloat(0.0); }, B({5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"float 1", [](auto& w) { w.WriteFloat(1.0); },
         B({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {"float -1", [](auto& w) { w.WriteFloat(-1.0); },
         B({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xBF})},
        {"float 100", [](auto& w) { w.WriteFloat(100.0); },
         B({5, 0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40})},
        {"float32 127", [](auto& w) { w.WriteFloat32(127.0f); },
         B({5, 0, 0, 0, 0, 0, 0, 0, 0xFE, 0x05, 0x40})},
        // 0.1f is 0x3DCCCCCD: its 24 significant bits, zero below (exact widening).
        {"float32 0.1", [](auto& w) { w.WriteFloat32(0.1f); },
         B({5, 0, 0, 0, 0, 0, 0xCD, 0xCC, 0xCC, 0xFB, 0x3F})},
        {"version text", [](auto& w) { w.WriteString("1.00"); },
         B({0x06, 0x04, 0x31, 0x2E, 0x30, 0x30})},
        {"empty text", [](auto& w) { w.WriteString(""); }, B({0x12, 0x00, 0x00, 0x00, 0x00})},
        {"Latin-1 mixed with ASCII as UTF-8", [](auto& w) { w.WriteString("Caf\xC3\xA9"); },
         B({0x14, 0x05, 0x00, 0x00, 0x00, 'C', 'a', 'f', 0xC3, 0xA9})},
        {"only two-byte characters as UTF-16", [](auto& w) { w.WriteString("\xC3\xA9"); },
         B({0x12, 0x01, 0x00, 0x00, 0x00, 0xE9, 0x00})},
        {"CJK as UTF-16", [](auto& w) { w.WriteString("\xE4\xB8\xAD" "a"); },
         B({0x12, 0x02, 0x00, 0x00, 0x00, 0x2D, 0x4E, 0x61, 0x00})},
        {"CJK beside more ASCII as UTF-8", [](auto& w) { w.WriteString("\xE4\xB8\xAD" "ab"); },
         B({0x14, 0x05, 0x00, 0x00, 0x00, 0xE4, 0xB8, 0xAD, 'a', 'b'})},
        {"astral character as a surrogate pair", [](auto& w) { w.WriteString("\xF0\x9F\x8E\xB9"); },
         B({0x12, 0x02, 0x00, 0x00, 0x00, 0x3C, 0xD8, 0xB9, 0xDF})},
        {"malformed UTF-8 written as U+FFFD", [](auto& w) { w.WriteString("\xFF"); },
         B({0x12, 0x01, 0x00, 0x00, 0x00, 0xFD, 0xFF})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Written(c.write), c.expected);
    }
}

TEST(ValueWriter, AsciiTextSwitchesToTheLongTagAt256Bytes) {
    const struct {
        size_t length;
        Bytes head;
    } cases[] = {
        {1, B({0x06, 0x01})},
        {255, B({0x06, 0xFF})},
        {256, B({0x0C, 0x00, 0x01, 0x00, 0x00})},
        {70000, B({0x0C, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        const Bytes bytes = Written([&](auto& w) { w.WriteString(text); });
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(c.head.size())), c.head);
        EXPECT_EQ(bytes.size(), c.head.size() + c.length);
    }
}

TEST(ValueWriter, IntegersBeyond32BitsAreRejected) {
    for (const int64_t value :
         {int64_t{2147483648}, int64_t{-2147483649}, std::numeric_limits<int64_t>::max()}) {
        TMemoryStream stream;
        TValueWriter writer(stream);
        EXPECT_EQ(ErrorOf([&] { writer.WriteInteger(value); }), kArgumentOutOfRange);
        EXPECT_EQ(stream.Size(), 0u);
    }
}

TEST(ValueWriter, WritesAtTheStreamPosition) {
    TMemoryStream stream = StreamOf(B({0xAA, 0xBB, 0xCC}));
    stream.SetPosition(1);
    TValueWriter writer(stream);
    writer.WriteBoolean(true);
    EXPECT_EQ(StreamBytes(stream), B({0xAA, 0x09, 0xCC}));
}

// A stream shaped like the plug-in's default state: 16 channels x 128 rows x 3 targets.
// Its size and opening bytes are fixed by the format, whatever the values.
TEST(ValueWriter, DefaultShapedStateHasTheKnownSizeAndPrefix) {
    TMemoryStream stream;
    TValueWriter w(stream);
    w.WriteSignature();
    w.WriteListBegin();
    w.WriteString("1.00");
    w.WriteString("");
    w.WriteString("");
    w.WriteString("");
    w.WriteListEnd();
    w.WriteListBegin();
    w.WriteListBegin();
    w.WriteInteger(0);
    w.WriteListEnd();
    w.WriteListBegin();
    for (int channel = 0; channel < 16; ++channel) {
        w.WriteListBegin();
        w.WriteListBegin();
        w.WriteBoolean(channel == 0);
        w.WriteFloat32(0.0f);
        w.WriteFloat32(127.0f);
        w.WriteListEnd();
        w.WriteListBegin();
        for (int row = 0; row < 128; ++row) {
            w.WriteListBegin();
            w.WriteListBegin();
            w.WriteInteger(row);
            w.WriteListEnd();
            w.WriteListBegin();
            for (int target = 0; target < 3; ++target) {
                w.WriteListBegin();
                w.WriteListBegin();
                for (const float value : {1.0f, -1.0f, 100.0f, 0.0f, 0.0f}) {
                    w.WriteFloat32(value);
                }
                w.WriteListEnd();
                w.WriteListEnd();
            }
            w.WriteListEnd();
            w.WriteListEnd();
        }
        w.WriteListEnd();
        w.WriteListEnd();
    }
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListBegin();
    w.WriteListEnd();

    const Bytes bytes = StreamBytes(stream);
    ASSERT_EQ(bytes.size(), 379381u);
    const Bytes prefix = Concat({
        B({0x54, 0x50, 0x46, 0x30, 0x01, 0x06, 0x04, 0x31, 0x2E, 0x30, 0x30}),
        B({0x12, 0, 0, 0, 0, 0x12, 0, 0, 0, 0, 0x12, 0, 0, 0, 0}),
        B({0x00, 0x01, 0x01, 0x02, 0x00, 0x00, 0x01}),
        B({0x01, 0x01, 0x09, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
        B({0x05, 0, 0, 0, 0, 0, 0, 0, 0xFE, 0x05, 0x40, 0x00, 0x01}),
        B({0x01, 0x01, 0x02, 0x00, 0x00, 0x01}),
    });
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(prefix.size())), prefix);
    EXPECT_EQ(Bytes(bytes.end() - 2, bytes.end()), B({0x01, 0x00}));
}

} // namespace
} // namespace ostinel::test
