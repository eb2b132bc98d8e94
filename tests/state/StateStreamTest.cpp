#include "StateTestSupport.h"

#include "state/BankChunk.h"
#include "state/StateStream.h"
#include "state/ValueReader.h"
#include "state/ValueWriter.h"

#include <optional>

namespace ostinel::test {
namespace {

const Bytes kEmptyText = B({0x12, 0, 0, 0, 0});

// A module whose section is one integer; it records what the stream handed it.
class TIntegerSection final : public IModuleStateSection {
public:
    void WriteSection(TValueWriter& writer) override { writer.WriteInteger(value); }
    void PresetNameRead(const std::string& name) override { presetNameRead = name; }
    void ReadSection(TValueReader& reader, const TStateHeader& header) override {
        versionSeen = header.Version;
        value = reader.ReadInteger();
    }

    std::int32_t value = 0;
    std::optional<std::string> presetNameRead;
    std::string versionSeen;
};

Bytes Write(const TStateHeader& header, std::int32_t value, const TMidiCCList& ccs) {
    TMemoryStream stream;
    TValueWriter writer(stream);
    TIntegerSection section;
    section.value = value;
    WriteStateStream(writer, header, section, ccs);
    return StreamBytes(stream);
}

TEST(StateStream, WritesHeaderModuleSectionAndAssignmentsByteExactly) {
    TMidiCCList ccs;
    ccs.SetCC("ostx", 74);
    const Bytes expected =
        Concat({Ascii("TPF0"), B({0x01, 0x06, 0x04}), Ascii("1.00"), B({0x06, 0x01}), Ascii("A"),
                kEmptyText, kEmptyText, B({0x00, 0x01, 0x02, 0x05, 0x00, 0x01, 0x01, 0x06, 0x04}),
                Ascii("ostx"), B({0x02, 74, 0x00, 0x00})});
    EXPECT_EQ(Write({"1.00", "A", {}}, 5, ccs), expected);
}

TEST(StateStream, ReadsBackWhatItWrote) {
    TMidiCCList written;
    written.SetCC("Cutoff", 74);
    written.SetCC("Resonance", 71);
    const Bytes bytes = Write({"1.01", "Pads", {"x", "y"}}, 1234, written);

    TValueReader reader(bytes);
    TIntegerSection section;
    TMidiCCList ccs;
    ccs.SetCC("stale", 1);
    const TStateHeader header = ReadStateStream(reader, section, ccs);
    EXPECT_EQ(header.Version, "1.01");
    EXPECT_EQ(header.PresetName, "Pads");
    EXPECT_EQ(header.Reserved[0], "x");
    EXPECT_EQ(header.Reserved[1], "y");
    EXPECT_EQ(section.value, 1234);
    EXPECT_EQ(section.versionSeen, "1.01");
    ASSERT_EQ(ccs.Count(), 2);
    EXPECT_EQ(ccs.GetItem(0).ParameterName, "Cutoff");
    EXPECT_EQ(ccs.GetItem(1).CCNumber, 71);
    EXPECT_EQ(reader.Position(), bytes.size());
}

// The stream after the module's section, and the assignments a list holding "keep" -> 3 has
// after reading it.
struct CcCase {
    const char* name;
    Bytes tail;
    std::vector<std::pair<std::string, std::int32_t>> expected;
};

TEST(StateStream, AssignmentSection) {
    const std::vector<CcCase> cases = {
        {"older states have a lone end of list: the list is kept", B({0x00}), {{"keep", 3}}},
        {"an empty section clears the list", B({0x01, 0x00}), {}},
        {"a name met twice is updated in place",
         Concat({B({0x01, 0x01, 0x06, 0x01}), Ascii("a"), B({0x02, 1, 0x00, 0x01, 0x06, 0x01}),
                 Ascii("b"), B({0x02, 2, 0x00, 0x01, 0x06, 0x01}), Ascii("a"),
                 B({0x02, 9, 0x00, 0x00})}),
         {{"a", 9}, {"b", 2}}},
    };
    const Bytes head = Concat({Ascii("TPF0"), B({0x01}), kEmptyText, kEmptyText, kEmptyText,
                               kEmptyText, B({0x00, 0x01, 0x02, 0x07, 0x00})});
    for (const CcCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = Concat({head, c.tail});
        TValueReader reader(bytes);
        TIntegerSection section;
        TMidiCCList ccs;
        ccs.SetCC("keep", 3);
        (void)ReadStateStream(reader, section, ccs);
        std::vector<std::pair<std::string, std::int32_t>> got;
        for (const TMidiCCItem& item : ccs.Items())
            got.emplace_back(item.ParameterName, item.CCNumber);
        EXPECT_EQ(got, c.expected);
    }
}

TEST(StateStream, AnErrorAfterThePresetNameKeepsWhatWasReadBefore) {
    const Bytes upToName =
        Concat({Ascii("TPF0"), B({0x01}), kEmptyText, B({0x06, 0x01}), Ascii("P")});
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"a broken text in the rest of the header", Concat({upToName, B({0xFF})})},
        // Header complete, then the module's section holds a text where the integer belongs.
        {"a text in the module's section",
         Concat({upToName, kEmptyText, kEmptyText, B({0x00, 0x01}), kEmptyText})},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        TValueReader reader(bytes);
        TIntegerSection section;
        TMidiCCList ccs;
        ccs.SetCC("keep", 3);
        EXPECT_NE(ErrorOf([&] { (void)ReadStateStream(reader, section, ccs); }), "<no error>");
        EXPECT_EQ(section.presetNameRead, "P");
        EXPECT_EQ(ccs.Count(), 1);
    }
}

TEST(StateStream, TruncatedOrForeignStreamsFail) {
    const std::vector<Bytes> inputs = {
        {},
        Ascii("TPF1"),
        Concat({Ascii("TPF0"), B({0x01}), kEmptyText}),
        Concat({Ascii("TPF0"), B({0x01}), kEmptyText, kEmptyText, kEmptyText, kEmptyText,
                B({0x00, 0x01, 0x02, 0x07, 0x00})}), // ends where the assignments begin
    };
    for (const Bytes& input : inputs) {
        TValueReader reader(input);
        TIntegerSection section;
        TMidiCCList ccs;
        EXPECT_NE(ErrorOf([&] { (void)ReadStateStream(reader, section, ccs); }), "<no error>")
            << input.size() << " bytes";
    }
}

TEST(BankChunk, AppendsCountAndBytesAndFindsThemAgain) {
    std::vector<std::uint8_t> bank;
    AppendBankEntry(bank, B({0xAA, 0xBB, 0xCC}));
    AppendBankEntry(bank, {});
    EXPECT_EQ(bank, B({3, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0}));

    const auto first = BankEntryAt(bank, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(Bytes(first->begin(), first->end()), B({0xAA, 0xBB, 0xCC}));
    const auto second = BankEntryAt(bank, 7);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->empty());
    EXPECT_FALSE(BankEntryAt(bank, 11)); // the end
}

TEST(BankChunk, CountsThatRunPastTheDataEndTheWalk) {
    const std::vector<std::pair<Bytes, std::size_t>> cases = {
        {B({}), 0},
        {B({3, 0, 0}), 0},                      // count cut short
        {B({4, 0, 0, 0, 1, 2, 3}), 0},          // one byte missing
        {B({0xFF, 0xFF, 0xFF, 0xFF, 1, 2}), 0}, // count near 2^32
        {B({0, 0, 0, 0}), 5},                   // offset beyond the data
    };
    for (const auto& [bytes, offset] : cases)
        EXPECT_FALSE(BankEntryAt(bytes, offset)) << bytes.size() << " bytes at " << offset;
}

} // namespace
} // namespace ostinel::test
