// The Winamp DSP adapter through the exported header.
#include "ostinel/WinampDsp.h"
#include "support/PluginInstance.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace ostinel::test {
namespace {

using winamp::winampDSPHeader;
using winamp::winampDSPModule;

winampDSPHeader* Header() {
    return static_cast<winampDSPHeader*>(Entries().winampGetHeader());
}

TEST(Winamp, HeaderAndModules) {
    winampDSPHeader* header = Header();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->version, 0x20);
    ASSERT_NE(header->description, nullptr);
    EXPECT_GT(std::strlen(header->description), 0u);
    EXPECT_EQ(header->reserved, 0x21);
    EXPECT_EQ(header->getModule(1), nullptr);
    EXPECT_EQ(header->getModule(-1), nullptr);
    winampDSPModule* a = header->getModule(0);
    winampDSPModule* b = header->getModule(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->userData, nullptr);
    EXPECT_EQ(a->description, header->description);
    EXPECT_EQ(a->Init(nullptr), 1);
    a->Config(nullptr);
    a->Quit(nullptr);
}

TEST(Winamp, ModifySamplesProcessesThroughTheModule) {
    winampDSPModule* m = Header()->getModule(0);
    ASSERT_NE(m, nullptr);
    std::vector<short> samples = {1000, -1000, 32767, -32768, 0, 5};
    // Before Init the samples pass unchanged.
    EXPECT_EQ(m->ModifySamples(m, samples.data(), 3, 16, 2, 44100), 3);
    EXPECT_EQ(samples, (std::vector<short>{1000, -1000, 32767, -32768, 0, 5}));
    ASSERT_EQ(m->Init(m), 0);
    ASSERT_NE(m->userData, nullptr);
    // The module writes silence: 16-bit output is dither around 0, within one step.
    EXPECT_EQ(m->ModifySamples(m, samples.data(), 3, 16, 2, 44100), 3);
    for (short s : samples)
        EXPECT_LE(std::abs(static_cast<int>(s)), 1);
    // Unknown sample sizes pass unchanged.
    std::vector<unsigned char> odd = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const auto copy = odd;
    EXPECT_EQ(m->ModifySamples(m, reinterpret_cast<short*>(odd.data()), 2, 20, 2, 44100), 2);
    EXPECT_EQ(odd, copy);
    m->Quit(m);
    EXPECT_EQ(m->userData, nullptr);
    std::vector<short> after = {7, 8};
    EXPECT_EQ(m->ModifySamples(m, after.data(), 1, 16, 2, 44100), 1);
    EXPECT_EQ(after, (std::vector<short>{7, 8}));
}

} // namespace
} // namespace ostinel::test
