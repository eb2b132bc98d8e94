#include "midi/Vlq.h"
#include "common/Error.h"
#include "tools/smf/SmfTestSupport.h"

#include <gtest/gtest.h>

namespace ostinel::smf {
namespace {

using test::Bytes;

struct VlqCase {
    const char* name;
    uint32_t value;
    Bytes bytes;
};

class VlqEncoding : public ::testing::TestWithParam<VlqCase> {};

TEST_P(VlqEncoding, EncodesAndDecodesAtEveryByteBoundary) {
    const VlqCase& c = GetParam();
    Bytes out{0xAA};
    AppendVlq(out, c.value);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end()), c.bytes);
    EXPECT_EQ(VlqSize(c.value), c.bytes.size());

    Bytes withTail = c.bytes;
    withTail.push_back(0x55);
    const VlqRead read = DecodeVlq(withTail);
    EXPECT_EQ(read.status, VlqStatus::Ok);
    EXPECT_EQ(read.value, c.value);
    EXPECT_EQ(read.length, c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Boundaries, VlqEncoding,
                         ::testing::Values(VlqCase{"Zero", 0, {0x00}},
                                           VlqCase{"Max1", 0x7F, {0x7F}},
                                           VlqCase{"Min2", 0x80, {0x81, 0x00}},
                                           VlqCase{"Max2", 0x3FFF, {0xFF, 0x7F}},
                                           VlqCase{"Min3", 0x4000, {0x81, 0x80, 0x00}},
                                           VlqCase{"Max3", 0x1FFFFF, {0xFF, 0xFF, 0x7F}},
                                           VlqCase{"Min4", 0x200000, {0x81, 0x80, 0x80, 0x00}},
                                           VlqCase{"Max4", 0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}),
                         test::CaseName());

TEST(Vlq, RejectsValuesAndInputsBeyondFourBytes) {
    Bytes out;
    EXPECT_THROW(AppendVlq(out, 0x10000000), Error);
    EXPECT_TRUE(out.empty());

    EXPECT_EQ(DecodeVlq(Bytes{0x80, 0x80, 0x80, 0x80, 0x00}).status, VlqStatus::TooLong);
    EXPECT_EQ(DecodeVlq(Bytes{0x81, 0x80}).status, VlqStatus::Truncated);
    EXPECT_EQ(DecodeVlq(Bytes{}).status, VlqStatus::Truncated);
}

} // namespace
} // namespace ostinel::smf
