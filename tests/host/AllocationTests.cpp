// The audio path of the plug-in binary never allocates: every malloc of the process is counted
// while the audio thread's calls run (this executable's malloc replaces the C library's for the
// loaded plug-in too).
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/StateBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {
thread_local bool tCounting = false;
std::atomic<long> gAllocations{0};
void Count() {
    if (tCounting)
        gAllocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

extern "C" {
__attribute__((visibility("default"))) void* malloc(std::size_t n) {
    Count();
    return __libc_malloc(n);
}
__attribute__((visibility("default"))) void* calloc(std::size_t n, std::size_t size) {
    Count();
    return __libc_calloc(n, size);
}
__attribute__((visibility("default"))) void* realloc(void* p, std::size_t n) {
    Count();
    return __libc_realloc(p, n);
}
__attribute__((visibility("default"))) void* aligned_alloc(std::size_t a, std::size_t n) {
    Count();
    return __libc_memalign(a, n);
}
__attribute__((visibility("default"))) void* memalign(std::size_t a, std::size_t n) {
    Count();
    return __libc_memalign(a, n);
}
__attribute__((visibility("default"))) int posix_memalign(void** p, std::size_t a, std::size_t n) {
    Count();
    *p = __libc_memalign(a, n);
    return *p != nullptr ? 0 : 12;
}
__attribute__((visibility("default"))) void free(void* p) {
    __libc_free(p);
}
}

namespace ostinel::test {
namespace {

using namespace vst;

class CountAllocations {
public:
    CountAllocations() {
        gAllocations = 0;
        tCounting = true;
    }
    ~CountAllocations() { tCounting = false; }
    long Count() const { return gAllocations.load(); }
};

TEST(AudioPath, AllocatesNothing) {
    FakeHost host;
    host.record = false;
    Instance plugin;
    auto map = DefaultMap();
    for (int n = 0; n < 128; ++n) {
        TChannelOstinItem& row = (*map)[0].Notes[n];
        row.Targets[1].SetNote(static_cast<float>((n + 4) % 128));
        row.Targets[1].SetRandom(40);
        row.Targets[2].SetNote(static_cast<float>((n + 7) % 128));
        row.Targets[2].SetProbability(60);
        row.Targets[2].SetVelocityScale(-30);
    }
    ASSERT_GT(plugin.SetChunk(MakeChunk(*map), true), 0);

    // Dense blocks: every kind of message, notes held across blocks, a loop back.
    EventList ons, offs, other;
    for (int n = 0; n < 128; ++n) {
        ons.Add(static_cast<std::uint8_t>(0x90 | (n % 3)), static_cast<std::uint8_t>(n), 100, n);
        offs.Add(static_cast<std::uint8_t>(0x80 | (n % 3)), static_cast<std::uint8_t>(n), 0, n);
    }
    other.Add(0xB0, 74, 10).Add(0xD0, 3, 0).Add(0xE0, 0, 64).Add(0xA0, 60, 5).Add(0xC0, 1, 0);
    other.AddSysEx();
    VstEvents* onList = ons.Get();
    VstEvents* offList = offs.Get();
    VstEvents* otherList = other.Get();
    std::vector<float> left(512), right(512);
    float* out[2] = {left.data(), right.data()};
    AEffect* e = plugin.Effect();
    auto run = [&] {
        for (int round = 0; round < 20; ++round) {
            host.SetTransport(round * 512.0, true);
            e->dispatcher(e, effProcessEvents, 0, 0, onList, 0);
            e->dispatcher(e, effProcessEvents, 0, 0, otherList, 0);
            e->processReplacing(e, nullptr, out, 512);
            e->getParameter(e, 0);
            e->setParameter(e, 0, 0.25f);
            if (round % 2 == 1)
                e->dispatcher(e, effProcessEvents, 0, 0, offList, 0);
            e->process(e, nullptr, out, 512);
        }
        host.SetTransport(0, true); // loop back: everything still sounding is released
        e->processReplacing(e, nullptr, out, 512);
    };
    run(); // warm-up outside the count
    long allocations = 0;
    {
        CountAllocations counting;
        run();
        allocations = counting.Count();
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(host.eventCount.load(), 10000);
}

TEST(AudioPath, CounterSeesAllocations) {
    // The counter itself works: an allocation inside the window is seen.
    long seen = 0;
    {
        CountAllocations counting;
        void* volatile p = malloc(32);
        free(p);
        seen = counting.Count();
    }
    EXPECT_EQ(seen, 1);
}

} // namespace
} // namespace ostinel::test
