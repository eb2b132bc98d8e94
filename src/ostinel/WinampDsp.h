#pragma once
// Winamp DSP plug-in records (the layout Winamp expects: pointer-sized fields, C calls).
#include <cstdint>

namespace ostinel::winamp {

struct winampDSPModule {
    char* description;
    void* hwndParent;
    void* hDllInstance;
    void (*Config)(winampDSPModule* module);
    int (*Init)(winampDSPModule* module);
    int (*ModifySamples)(winampDSPModule* module, short int* samples, int numsamples, int bps,
                         int nch, int srate);
    void (*Quit)(winampDSPModule* module);
    void* userData;
};

struct winampDSPHeader {
    int version;
    char* description;
    winampDSPModule* (*getModule)(int which);
    std::intptr_t reserved; // 0x21; a version-0x20 host does not read it
};

// The header handed to Winamp (static; filled on every call).
[[nodiscard]] winampDSPHeader* GetHeader() noexcept;

// The conversions of one block, exposed for tests: interleaved integers <-> float channels.
void ConvertIn(const void* samples, int numsamples, int bps, int nch, float* const* channels,
               int channelCount) noexcept;
void ConvertOut(const float* const* channels, int channelCount, void* samples, int numsamples,
                int bps, int nch) noexcept;

} // namespace ostinel::winamp
