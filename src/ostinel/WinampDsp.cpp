#include "ostinel/WinampDsp.h"

#include "common/QelCommon.h"
#include "engine/Random.h"
#include "ostinel/VSTPlugin.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace ostinel::winamp {

namespace {

char gDescription[] = "Ostinel (Quorvat)";

// Per-module conversion buffers and the Winamp configuration window. Owned by the adapter
// beside the module; released with it.
struct TWinampModule {
    std::unique_ptr<TVSTPlugin> plugin;
    std::vector<std::vector<float>> inputs, outputs;
    std::vector<float*> inputPtrs, outputPtrs;
#if defined(_WIN32)
    HWND configWindow = nullptr;
#endif
    ~TWinampModule() {
#if defined(_WIN32)
        if (configWindow != nullptr)
            DestroyWindow(configWindow);
#endif
    }
    void Size(int channels, int frames) {
        const auto c = static_cast<std::size_t>(std::max(channels, 2));
        const auto f = static_cast<std::size_t>(frames);
        for (auto* list : {&inputs, &outputs}) {
            if (list->size() < c)
                list->resize(c);
            for (auto& channel : *list)
                if (channel.size() < f)
                    channel.resize(f);
        }
        inputPtrs.resize(inputs.size());
        outputPtrs.resize(outputs.size());
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            inputPtrs[i] = inputs[i].data();
            outputPtrs[i] = outputs[i].data();
        }
    }
};

std::int32_t Read24(const std::uint8_t* p) noexcept {
    std::int32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v & 0x800000) ? v - 0x1000000 : v;
}

// Nearest integer (halves to even) of x * scale plus a triangular dither of one step.
std::int64_t Dither(float x, double scale) noexcept {
    const double r1 = RandomFraction();
    const double r2 = RandomFraction();
    return RoundDouble(r1 + static_cast<double>(x) * scale - r2);
}

float Limit(float x) noexcept {
    return std::clamp(x, -1.0f, 1.0f);
}

int PassThrough(winampDSPModule*, short int*, int numsamples, int, int, int) {
    return numsamples;
}
int Converting(winampDSPModule* record, short int* samples, int numsamples, int bps, int nch,
               int srate);

void Config(winampDSPModule* record) {
    if (record == nullptr || record->userData == nullptr)
        return;
#if defined(_WIN32)
    try {
        auto* module = static_cast<TWinampModule*>(record->userData);
        if (module->configWindow == nullptr)
            module->configWindow = CreateWindowExW(
                0, L"STATIC", L"Ostinel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320,
                200, static_cast<HWND>(record->hwndParent), nullptr, nullptr, nullptr);
        if (module->configWindow != nullptr)
            ShowWindow(module->configWindow, SW_SHOWNORMAL);
    } catch (...) {
    }
#endif
}

int Init(winampDSPModule* record) {
    if (record == nullptr)
        return 1;
    try {
        auto module = std::make_unique<TWinampModule>();
        module->plugin = std::make_unique<TVSTPlugin>();
        module->plugin->VSTModuleCreate();
        // No host is connected; open the module so its processing runs.
        module->plugin->DispatchOpcode(vst::effOpen, 0, 0, nullptr, 0.0f);
        record->userData = module.release();
        record->ModifySamples = &Converting;
        return 0;
    } catch (...) {
        return 1;
    }
}

void Quit(winampDSPModule* record) {
    if (record == nullptr)
        return;
    record->ModifySamples = &PassThrough;
    // Lets a ModifySamples call still running on the playback thread finish.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::unique_ptr<TWinampModule> module(static_cast<TWinampModule*>(record->userData));
    record->userData = nullptr;
}

int Converting(winampDSPModule* record, short int* samples, int numsamples, int bps, int nch, int) {
    if (record == nullptr || record->userData == nullptr || samples == nullptr || numsamples <= 0 ||
        nch <= 0)
        return numsamples;
    try {
        auto* module = static_cast<TWinampModule*>(record->userData);
        module->Size(nch, numsamples);
        const int channels = static_cast<int>(module->inputPtrs.size());
        ConvertIn(samples, numsamples, bps, nch, module->inputPtrs.data(), channels);
        for (float* out : module->outputPtrs)
            std::fill_n(out, numsamples, 0.0f);
        vst::AEffect* effect = module->plugin->EffectRecord();
        effect->processReplacing(effect, module->inputPtrs.data(), module->outputPtrs.data(),
                                 numsamples);
        ConvertOut(module->outputPtrs.data(), channels, samples, numsamples, bps, nch);
    } catch (...) {
        // Out of memory for the buffers: the samples pass unchanged.
    }
    return numsamples;
}

winampDSPModule* GetModule(int which) {
    if (static_cast<unsigned>(which) != 0)
        return nullptr;
    try {
        // Handed to Winamp, which never gives it back.
        winampDSPModule* record = std::make_unique<winampDSPModule>().release();
        record->description = gDescription;
        record->Config = &Config;
        record->Init = &Init;
        record->ModifySamples = &PassThrough;
        record->Quit = &Quit;
        return record;
    } catch (...) {
        return nullptr;
    }
}

winampDSPHeader gHeader{};

} // namespace

void ConvertIn(const void* samples, int numsamples, int bps, int nch, float* const* channels,
               int channelCount) noexcept {
    const int count = std::min(nch, channelCount);
    for (int c = 0; c < count; ++c)
        for (int f = 0; f < numsamples; ++f) {
            const std::size_t i = static_cast<std::size_t>(f) * static_cast<std::size_t>(nch) +
                                  static_cast<std::size_t>(c);
            float& out = channels[c][f];
            switch (bps) {
            case 8:
                out = static_cast<float>(static_cast<const std::int8_t*>(samples)[i]) / 128.0f;
                break;
            case 16:
                out = static_cast<float>(static_cast<const std::int16_t*>(samples)[i]) / 32768.0f;
                break;
            case 24:
                out =
                    static_cast<float>(Read24(static_cast<const std::uint8_t*>(samples) + 3 * i)) /
                    8388608.0f;
                break;
            case 32:
                std::memcpy(&out, static_cast<const std::uint8_t*>(samples) + 4 * i, 4);
                break;
            default:
                return;
            }
        }
}

void ConvertOut(const float* const* channels, int channelCount, void* samples, int numsamples,
                int bps, int nch) noexcept {
    const int count = std::min(nch, channelCount);
    for (int c = 0; c < count; ++c)
        for (int f = 0; f < numsamples; ++f) {
            const std::size_t i = static_cast<std::size_t>(f) * static_cast<std::size_t>(nch) +
                                  static_cast<std::size_t>(c);
            const float x = channels[c][f];
            switch (bps) {
            case 8:
                static_cast<std::int8_t*>(samples)[i] =
                    static_cast<std::int8_t>(std::clamp<std::int64_t>(Dither(x, 126.0), -128, 127));
                break;
            case 16:
                static_cast<std::int16_t*>(samples)[i] = static_cast<std::int16_t>(
                    std::clamp<std::int64_t>(Dither(Limit(x), 32766.0), -32768, 32767));
                break;
            case 24: {
                // Full scale: 8388607 steps, matching the input's 1/8388608.
                const auto v = static_cast<std::int32_t>(
                    std::clamp<std::int64_t>(Dither(Limit(x), 8388607.0), -8388608, 8388607));
                auto* p = static_cast<std::uint8_t*>(samples) + 3 * i;
                p[0] = static_cast<std::uint8_t>(v);
                p[1] = static_cast<std::uint8_t>(v >> 8);
                p[2] = static_cast<std::uint8_t>(v >> 16);
                break;
            }
            case 32:
                std::memcpy(static_cast<std::uint8_t*>(samples) + 4 * i, &x, 4);
                break;
            default:
                return;
            }
        }
}

winampDSPHeader* GetHeader() noexcept {
    gHeader.version = 0x20;
    gHeader.description = gDescription;
    gHeader.getModule = &GetModule;
    gHeader.reserved = 0x21;
    return &gHeader;
}

} // namespace ostinel::winamp
