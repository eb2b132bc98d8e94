// libFuzzer target for outside state data: host chunks and preset files ("mmst" chunk holding a
// "TPF0" value stream). Besides not crashing, it checks that every value read re-encodes to
// the same value and that texts always come out as valid UTF-8.
#include "common/Error.h"
#include "state/Extended80.h"
#include "state/MemoryStream.h"
#include "state/MemoryStreamChunk.h"
#include "state/TextCodec.h"
#include "state/ValueReader.h"
#include "state/ValueWriter.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace {

using namespace ostinel;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

template <typename Write, typename Read> void CheckRoundTrip(Write write, Read read) {
    TMemoryStream stream;
    TValueWriter writer(stream);
    write(writer);
    TValueReader reader(stream.Bytes());
    read(reader);
    Check(reader.Position() == stream.Size());
}

void CheckFloat(double value) {
    CheckRoundTrip([&](TValueWriter& w) { w.WriteFloat(value); },
                   [&](TValueReader& r) {
                       Check(std::bit_cast<uint64_t>(r.ReadFloat()) ==
                             std::bit_cast<uint64_t>(value));
                   });
}

void CheckInteger(int32_t value) {
    CheckRoundTrip([&](TValueWriter& w) { w.WriteInteger(value); },
                   [&](TValueReader& r) { Check(r.ReadInteger() == value); });
}

void CheckText(const std::string& text) {
    Check(codec::SanitizeUtf8(text) == text);
    CheckRoundTrip([&](TValueWriter& w) { w.WriteString(text); },
                   [&](TValueReader& r) { Check(r.ReadString() == text); });
}

// Reads the state layout the plug-in reads: header list, note-map section (16 x 128 x 3 at
// most), CC assignments.
void ReadState(TValueReader& r) {
    r.ReadSignature();
    r.ReadListBegin();
    CheckText(r.ReadString());
    CheckText(r.ReadString());
    CheckText(r.ReadString());
    CheckText(r.ReadString());
    r.ReadListEnd();

    r.ReadListBegin();
    r.ReadListBegin();
    CheckInteger(r.ReadInteger());
    r.ReadListEnd();
    r.ReadListBegin();
    for (int channel = 0; !r.EndOfList(); ++channel) {
        if (channel >= 16) {
            throw Error(kArgumentOutOfRange);
        }
        r.ReadListBegin();
        r.ReadListBegin();
        static_cast<void>(r.ReadBoolean());
        CheckFloat(static_cast<double>(r.ReadFloat32()));
        CheckFloat(static_cast<double>(r.ReadFloat32()));
        r.ReadListEnd();
        r.ReadListBegin();
        for (int row = 0; !r.EndOfList(); ++row) {
            if (row >= 128) {
                throw Error(kArgumentOutOfRange);
            }
            r.ReadListBegin();
            r.ReadListBegin();
            CheckInteger(r.ReadInteger());
            r.ReadListEnd();
            r.ReadListBegin();
            for (int target = 0; !r.EndOfList(); ++target) {
                if (target >= 3) {
                    throw Error(kArgumentOutOfRange);
                }
                r.ReadListBegin();
                r.ReadListBegin();
                for (int value = 0; value < 5; ++value) {
                    CheckFloat(static_cast<double>(r.ReadFloat32()));
                }
                r.ReadListEnd();
                r.ReadListEnd();
            }
            r.ReadListEnd();
            r.ReadListEnd();
        }
        r.ReadListEnd();
        r.ReadListEnd();
    }
    r.ReadListEnd();
    r.ReadListEnd();

    if (!r.EndOfList()) {
        r.ReadListBegin();
        while (!r.EndOfList()) {
            r.ReadListBegin();
            CheckText(r.ReadString());
            CheckInteger(r.ReadInteger());
            r.ReadListEnd();
        }
        r.ReadListEnd();
    }
}

// Reads any value stream value by value, guided by the tags.
void ReadAnyValues(TValueReader& r) {
    r.ReadSignature();
    while (r.Position() < r.Size()) {
        switch (r.NextTag()) {
        case TValueTag::ListBegin:
            r.ReadListBegin();
            break;
        case TValueTag::EndOfList:
            r.ReadListEnd();
            break;
        case TValueTag::Int8:
        case TValueTag::Int16:
        case TValueTag::Int32:
            CheckInteger(r.ReadInteger());
            break;
        case TValueTag::False:
        case TValueTag::True:
            static_cast<void>(r.ReadBoolean());
            break;
        case TValueTag::String:
        case TValueTag::LongString:
        case TValueTag::WideString:
        case TValueTag::Utf8String:
            CheckText(r.ReadString());
            break;
        default: // the float tags, and unknown tags which must fail cleanly
            CheckFloat(r.ReadFloat());
            break;
        }
    }
}

template <typename F> void Guarded(F f) {
    try {
        f();
    } catch (const Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);

    Guarded([&] {
        TMemoryStream source;
        source.Write(data, size);
        source.SetPosition(0);
        TMemoryStreamChunk chunk;
        chunk.LoadFromStream(source);
        Check(chunk.Payload().Position() == 0);
        TValueReader reader(chunk.Payload().Bytes());
        ReadState(reader);
    });

    Guarded([&] {
        TValueReader reader(bytes);
        ReadAnyValues(reader);
    });

    if (size >= codec::kExtendedSize) {
        const double value = codec::ExtendedToDouble(bytes.first<codec::kExtendedSize>());
        CheckFloat(value);
    }
    return 0;
}
