#include "StateTestSupport.h"

#include "state/Extended80.h"
#include "state/ValueReader.h"
#include "state/ValueWriter.h"

#include <bit>
#include <cmath>
#include <limits>
#include <set>

namespace ostinel::test {
namespace {

Bytes Ext(double value) {
    const auto e = codec::DoubleToExtended(value);
    return Bytes(e.begin(), e.end());
}

Bytes Le64(uint64_t value) {
    Bytes out;
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    return out;
}

TEST(ValueReader, ReadsBackWhatTheWriterWrote) {
    const int32_t integers[] = {0,      1,     -1,     127,        -128,           128, -129, 32767,
                                -32768, 32768, -32769, 2147483647, -2147483647 - 1};
    const double doubles[] = {0.0,
                              -0.0,
                              0.1,
                              -2.75,
                              1e300,
                              std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    const float floats[] = {0.1f,
                            -0.0f,
                            127.0f,
                            1.0f / 3.0f,
                            16777215.0f,
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max()};
    const std::string texts[] = {"",
                                 "1.00",
                                 std::string(255, 'a'),
                                 std::string(256, 'b'),
                                 "Caf\xC3\xA9",
                                 "\xC3\xA9",
                                 "\xE4\xB8\xAD\xE6\x96\x87",
                                 "Piano \xF0\x9F\x8E\xB9",
                                 std::string("nul\0inside", 10)};

    TMemoryStream stream;
    TValueWriter w(stream);
    w.WriteSignature();
    w.WriteListBegin();
    for (const auto v : integers) {
        w.WriteInteger(v);
    }
    for (const auto v : doubles) {
        w.WriteFloat(v);
    }
    for (const auto v : floats) {
        w.WriteFloat32(v);
    }
    w.WriteFloat(std::numeric_limits<double>::quiet_NaN());
    w.WriteBoolean(false);
    w.WriteBoolean(true);
    for (const auto& v : texts) {
        w.WriteString(v);
    }
    w.WriteListEnd();

    TValueReader r(stream.Bytes());
    r.ReadSignature();
    r.ReadListBegin();
    for (const auto v : integers) {
        EXPECT_EQ(r.ReadInteger(), v);
    }
    for (const auto v : doubles) {
        EXPECT_EQ(std::bit_cast<uint64_t>(r.ReadFloat()), std::bit_cast<uint64_t>(v)) << v;
    }
    for (const auto v : floats) {
        EXPECT_EQ(std::bit_cast<uint32_t>(r.ReadFloat32()), std::bit_cast<uint32_t>(v)) << v;
    }
    EXPECT_TRUE(std::isnan(r.ReadFloat()));
    EXPECT_FALSE(r.ReadBoolean());
    EXPECT_TRUE(r.ReadBoolean());
    for (const auto& v : texts) {
        EXPECT_EQ(r.ReadString(), v);
    }
    EXPECT_TRUE(r.EndOfList());
    r.ReadListEnd();
    EXPECT_EQ(r.Position(), stream.Size());
}

TEST(ValueReader, FloatFieldsAcceptEveryNumericTag) {
    const struct {
        const char* name;
        Bytes data;
        double expected;
    } cases[] = {
        {"int8", B({0x02, 0xFF}), -1.0},
        {"int16", B({0x03, 0x00, 0x80}), -32768.0},
        {"int32", B({0x04, 0x28, 0x00, 0x00, 0x00}), 40.0},
        {"int64", Concat({B({0x13}), Le64(uint64_t{1} << 40)}), 1099511627776.0},
        {"int64 rounded to nearest double", Concat({B({0x13}), Le64((uint64_t{1} << 53) + 1)}),
         9007199254740992.0},
        {"double", Concat({B({0x15}), Le64(std::bit_cast<uint64_t>(-0.125))}), -0.125},
        {"extended", Concat({B({0x05}), Ext(127.0)}), 127.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TValueReader r(c.data);
        EXPECT_EQ(r.ReadFloat(), c.expected);
        EXPECT_EQ(r.Position(), c.data.size());
    }
}

TEST(ValueReader, Float32NarrowsToNearestAndSaturates) {
    const float kMax = std::numeric_limits<float>::max();
    const float kInf = std::numeric_limits<float>::infinity();
    const struct {
        const char* name;
        double stored;
        float expected;
    } cases[] = {
        {"double 0.1", 0.1, 0.1f},
        {"beyond float range", 1e300, kInf},
        {"negative beyond float range", -1e300, -kInf},
        {"just below the rounding threshold", 0x1.fffffefffffffp127, kMax},
        {"at the rounding threshold", 0x1.ffffffp127, kInf},
        {"below the smallest denormal", 1e-50, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes data = Concat({B({0x15}), Le64(std::bit_cast<uint64_t>(c.stored))});
        TValueReader r(data);
        EXPECT_EQ(r.ReadFloat32(), c.expected);
    }
}

TEST(ValueReader, TextTagsDecodeToUtf8) {
    const struct {
        const char* name;
        Bytes data;
        std::string expected;
    } cases[] = {
        {"short single-byte as Windows-1252", B({0x06, 0x03, 'E', 0x80, 0xE9}),
         "E\xE2\x82\xAC\xC3\xA9"},
        {"long single-byte", B({0x0C, 0x02, 0x00, 0x00, 0x00, 'o', 'k'}), "ok"},
        {"UTF-16 with a lone surrogate", B({0x12, 0x02, 0, 0, 0, 0x00, 0xD8, 0x41, 0x00}),
         "\xEF\xBF\xBD"
         "A"},
        {"UTF-8 with a bad byte", B({0x14, 0x03, 0, 0, 0, 'a', 0xFF, 'b'}),
         "a\xEF\xBF\xBD"
         "b"},
        {"empty short", B({0x06, 0x00}), ""},
        {"empty UTF-8", B({0x14, 0, 0, 0, 0}), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TValueReader r(c.data);
        EXPECT_EQ(r.ReadString(), c.expected);
        EXPECT_EQ(r.Position(), c.data.size());
    }
}

// Every tag byte, for every kind of field: the accepted ones read, all others fail with
// "Invalid property value" and leave the position alone.
TEST(ValueReader, EachFieldAcceptsOnlyItsTags) {
    const struct {
        const char* name;
        std::set<int> accepted;
        std::function<void(TValueReader&)> read;
    } fields[] = {
        {"list begin", {0x01}, [](TValueReader& r) { r.ReadListBegin(); }},
        {"list end", {0x00}, [](TValueReader& r) { r.ReadListEnd(); }},
        {"integer", {0x02, 0x03, 0x04}, [](TValueReader& r) { (void)r.ReadInteger(); }},
        {"float",
         {0x02, 0x03, 0x04, 0x05, 0x13, 0x15},
         [](TValueReader& r) { (void)r.ReadFloat(); }},
        {"boolean", {0x08, 0x09}, [](TValueReader& r) { (void)r.ReadBoolean(); }},
        {"text", {0x06, 0x0C, 0x12, 0x14}, [](TValueReader& r) { (void)r.ReadString(); }},
    };
    for (const auto& field : fields) {
        for (int tag = 0; tag < 256; ++tag) {
            SCOPED_TRACE(std::string(field.name) + " tag " + std::to_string(tag));
            Bytes data(16, 0);
            data[0] = static_cast<uint8_t>(tag);
            TValueReader r(data);
            const std::string error = ErrorOf([&] { field.read(r); });
            if (field.accepted.count(tag) != 0) {
                EXPECT_EQ(error, "<no error>");
                EXPECT_GT(r.Position(), 0u);
            } else {
                EXPECT_EQ(error, kInvalidPropertyValue);
                EXPECT_EQ(r.Position(), 0u);
            }
        }
    }
}

TEST(ValueReader, SignatureMustBeTpf0) {
    const struct {
        const char* name;
        Bytes data;
        std::string error;
    } cases[] = {
        {"valid", Ascii("TPF0"), "<no error>"},
        {"other version", Ascii("TPF1"), kInvalidStreamFormat},
        {"a chunk header", Ascii("mmst\x05\x00\x00\x00"), kInvalidStreamFormat},
        {"too short", Ascii("TPF"), kInvalidStreamFormat},
        {"empty", Bytes{}, kInvalidStreamFormat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TValueReader r(c.data);
        EXPECT_EQ(ErrorOf([&] { r.ReadSignature(); }), c.error);
    }
}

TEST(ValueReader, EndOfListPeeksWithoutConsuming) {
    const Bytes data = B({0x00, 0x01});
    TValueReader r(data);
    EXPECT_TRUE(r.EndOfList());
    EXPECT_TRUE(r.EndOfList());
    EXPECT_EQ(r.Position(), 0u);
    r.ReadListEnd();
    EXPECT_FALSE(r.EndOfList());
    EXPECT_EQ(r.NextTag(), TValueTag::ListBegin);
    r.ReadListBegin();
    EXPECT_EQ(ErrorOf([&] { (void)r.EndOfList(); }), kStreamReadError);
    EXPECT_EQ(ErrorOf([&] { (void)r.NextTag(); }), kStreamReadError);
}

// A small stream with one value of every tag the reader knows, read the way the plug-in
// reads its state.
Bytes AllKindsStream() {
    return Concat({
        Ascii("TPF0"),
        B({0x01}),
        B({0x02, 0x85}),
        B({0x03, 0x34, 0x12}),
        B({0x04, 0x78, 0x56, 0x34, 0x12}),
        B({0x05}),
        Ext(1.5),
        B({0x15}),
        Le64(std::bit_cast<uint64_t>(2.5)),
        B({0x13}),
        Le64(7),
        B({0x09}),
        B({0x06, 0x02, 'h', 'i'}),
        B({0x0C, 0x01, 0, 0, 0, 'L'}),
        B({0x12, 0x01, 0, 0, 0, 0x2D, 0x4E}),
        B({0x14, 0x02, 0, 0, 0, 0xC3, 0xA9}),
        B({0x00}),
    });
}

void ReadAllKinds(TValueReader& r) {
    r.ReadSignature();
    r.ReadListBegin();
    EXPECT_EQ(r.ReadInteger(), -123);
    EXPECT_EQ(r.ReadInteger(), 0x1234);
    EXPECT_EQ(r.ReadInteger(), 0x12345678);
    EXPECT_EQ(r.ReadFloat(), 1.5);
    EXPECT_EQ(r.ReadFloat(), 2.5);
    EXPECT_EQ(r.ReadFloat(), 7.0);
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_EQ(r.ReadString(), "hi");
    EXPECT_EQ(r.ReadString(), "L");
    EXPECT_EQ(r.ReadString(), "\xE4\xB8\xAD");
    EXPECT_EQ(r.ReadString(), "\xC3\xA9");
    if (r.EndOfList()) {
        r.ReadListEnd();
    }
}

TEST(ValueReader, TruncationAtEveryByteIsAReadError) {
    const Bytes full = AllKindsStream();
    {
        TValueReader r(full);
        ReadAllKinds(r);
        EXPECT_EQ(r.Position(), full.size());
    }
    for (size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        const Bytes cut(full.begin(), full.begin() + static_cast<long>(length));
        TValueReader r(cut);
        // A cut inside the signature means the data is not a value stream at all.
        const std::string expected = length < 4 ? kInvalidStreamFormat : kStreamReadError;
        EXPECT_EQ(ErrorOf([&] { ReadAllKinds(r); }), expected);
        EXPECT_LE(r.Position(), length);
    }
}

TEST(ValueReader, HugeLengthsFailBeforeAnythingIsAllocated) {
    const Bytes cases[] = {
        B({0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}),
        B({0x14, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}),
        B({0x12, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}),
        // 2 x 0x80000000 units would wrap to 0 in 32-bit arithmetic.
        B({0x12, 0x00, 0x00, 0x00, 0x80}),
        B({0x06, 0x05, 'a', 'b'}),
    };
    for (const auto& data : cases) {
        SCOPED_TRACE(testing::PrintToString(data));
        TValueReader r(data);
        EXPECT_EQ(ErrorOf([&] { (void)r.ReadString(); }), kStreamReadError);
        EXPECT_EQ(r.Position(), 0u);
    }
}

TEST(ValueReader, FailedReadLeavesThePositionOnTheValue) {
    const Bytes data = B({0x02, 0x05, 0x04, 0x01, 0x02});
    TValueReader r(data);
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_EQ(ErrorOf([&] { (void)r.ReadInteger(); }), kStreamReadError);
    EXPECT_EQ(r.Position(), 2u);
    EXPECT_EQ(ErrorOf([&] { (void)r.ReadBoolean(); }), kInvalidPropertyValue);
    EXPECT_EQ(r.Position(), 2u);
}

} // namespace
} // namespace ostinel::test
