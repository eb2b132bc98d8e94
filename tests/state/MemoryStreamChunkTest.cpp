#include "StateTestSupport.h"

#include "state/MemoryStreamChunk.h"
#include "state/ValueReader.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace ostinel::test {
namespace {

const Bytes kPayload = Concat({Ascii("TPF0"), B({0x01, 0x09, 0x00})}); // odd size on purpose

Bytes Header(uint32_t size) {
    return Concat(
        {Ascii("mmst"), B({static_cast<int>(size & 0xFF), static_cast<int>((size >> 8) & 0xFF),
                           static_cast<int>((size >> 16) & 0xFF), static_cast<int>(size >> 24)})});
}

TMemoryStreamChunk ChunkWith(const Bytes& payload) {
    TMemoryStreamChunk chunk;
    chunk.Payload().Write(payload.data(), payload.size());
    return chunk;
}

TEST(MemoryStreamChunk, SavesIdSizeAndPayloadAtTheDestinationPosition) {
    const TMemoryStreamChunk chunk = ChunkWith(kPayload);
    TMemoryStream dest = StreamOf(B({0xAA, 0xBB}));
    dest.SetPosition(1);
    chunk.SaveToStream(dest);
    EXPECT_EQ(StreamBytes(dest), Concat({B({0xAA}), Header(7), kPayload}));
    EXPECT_EQ(dest.Position(), dest.Size());
}

TEST(MemoryStreamChunk, RoundTripsAndRewindsThePayload) {
    TMemoryStream stream;
    ChunkWith(kPayload).SaveToStream(stream);
    stream.SetPosition(0);

    TMemoryStreamChunk loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(StreamBytes(loaded.Payload()), kPayload);
    EXPECT_EQ(loaded.Payload().Position(), 0u);
    EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(MemoryStreamChunk, LoadsFromTheSourcePositionAndStopsAfterThePayload) {
    // The shape of a bank chunk: a 4-byte count in front, something else behind.
    TMemoryStream src = StreamOf(Concat({B({11, 0, 0, 0}), Header(3), B({1, 2, 3, 0xEE})}));
    src.SetPosition(4);
    TMemoryStreamChunk chunk;
    chunk.LoadFromStream(src);
    EXPECT_EQ(StreamBytes(chunk.Payload()), B({1, 2, 3}));
    EXPECT_EQ(src.Position(), 15u);
}

TEST(MemoryStreamChunk, BadHeadersFailAndChangeNothing) {
    const struct {
        const char* name;
        Bytes data;
        std::string error;
    } cases[] = {
        {"empty", Bytes{}, kChunkHeaderIncomplete},
        {"three bytes", Ascii("mms"), kChunkHeaderIncomplete},
        {"wrong id", Concat({Ascii("MMST"), B({1, 0, 0, 0, 0})}), kInvalidChunkId},
        {"wrong id, short", Ascii("abcde"), kInvalidChunkId},
        {"id only", Ascii("mmst"), kChunkHeaderIncomplete},
        {"seven bytes", Concat({Ascii("mmst"), B({1, 0, 0})}), kChunkHeaderIncomplete},
        {"size one past the data", Concat({Header(4), B({1, 2, 3})}), kStreamReadError},
        {"size 2^31", Concat({Header(0x80000000), B({1})}), kStreamReadError},
        {"size 2^32 - 1", Concat({Header(0xFFFFFFFF), B({1})}), kStreamReadError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStreamChunk chunk = ChunkWith(B({0x42}));
        TMemoryStream src = StreamOf(c.data);
        EXPECT_EQ(ErrorOf([&] { chunk.LoadFromStream(src); }), c.error);
        EXPECT_EQ(StreamBytes(chunk.Payload()), B({0x42}));
        EXPECT_EQ(src.Position(), 0u);
    }
}

TEST(MemoryStreamChunk, SizeZeroTakesTheWholeSourceFromItsStart) {
    const Bytes data = Concat({B({9, 9, 9, 9}), Header(0), kPayload});
    TMemoryStream src = StreamOf(data);
    src.SetPosition(4);
    TMemoryStreamChunk chunk;
    chunk.LoadFromStream(src);
    EXPECT_EQ(StreamBytes(chunk.Payload()), data);
    EXPECT_EQ(chunk.Payload().Position(), 0u);
    EXPECT_EQ(src.Position(), src.Size());

    // Which the value reader then refuses.
    TValueReader reader(chunk.Payload().Bytes());
    EXPECT_EQ(ErrorOf([&] { reader.ReadSignature(); }), kInvalidStreamFormat);
}

class MemoryStreamChunkFile : public testing::Test {
protected:
    void SetUp() override {
        // Unique per run: other build trees may run the same test at the same time.
        dir_ = std::filesystem::path(testing::TempDir()) /
               ("ostinel-chunk-" + std::to_string(std::random_device{}()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

TEST_F(MemoryStreamChunkFile, SaveOverwritesAndLoadReadsItBack) {
    const auto path = dir_ / "Pr\xC3\xA9set.quorvatp";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(100, 'x');
    }
    ChunkWith(kPayload).SaveToFile(path);
    EXPECT_EQ(std::filesystem::file_size(path), 8 + kPayload.size());

    TMemoryStreamChunk loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(StreamBytes(loaded.Payload()), kPayload);
    EXPECT_EQ(loaded.Payload().Position(), 0u);
}

TEST_F(MemoryStreamChunkFile, FileErrorsNameThePath) {
    TMemoryStreamChunk chunk;
    const auto missing = dir_ / "missing.quorvatp";
    EXPECT_EQ(ErrorOf([&] { chunk.LoadFromFile(missing); }),
              std::string(kCannotOpenFile) + " \"" + missing.string() + "\"");
    const auto noFolder = dir_ / "no" / "such.quorvatp";
    EXPECT_EQ(ErrorOf([&] { chunk.SaveToFile(noFolder); }),
              std::string(kCannotCreateFile) + " \"" + noFolder.string() + "\"");
    // A folder opens on some systems but cannot be read.
    EXPECT_NE(ErrorOf([&] { chunk.LoadFromFile(dir_); }), "<no error>");
}

TEST_F(MemoryStreamChunkFile, TruncatedFileIsAReadError) {
    const auto path = dir_ / "cut.quorvatp";
    {
        std::ofstream file(path, std::ios::binary);
        const Bytes bytes = Concat({Header(10), B({1, 2})});
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    TMemoryStreamChunk chunk;
    EXPECT_EQ(ErrorOf([&] { chunk.LoadFromFile(path); }), kStreamReadError);
}

} // namespace
} // namespace ostinel::test
