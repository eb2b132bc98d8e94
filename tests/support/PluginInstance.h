#pragma once
// Drives one plug-in instance through its VST 2.4 entry points, block by block, as a host does,
// with the process's FakeHost answering. The entry points come either from the plug-in binary
// loaded at run time (host tests) or from the same code linked into the test (unit tests).
#include "plugin/VstAbi.h"
#include "support/FakeHost.h"
#include "vsthost/PluginInstance.h"

#include <string>

namespace ostinel::test {

using MainEntry = vsthost::MainEntry;

struct EntryPoints {
    MainEntry vstPluginMain = nullptr;
    MainEntry main = nullptr;
    void* (*winampGetHeader)() = nullptr;
};

// The entry points under test (defined by PluginBinary.cpp or PluginLinked.cpp).
[[nodiscard]] const EntryPoints& Entries();
[[nodiscard]] std::string EntriesDescription();

class Instance : public vsthost::PluginInstance {
public:
    // Creates the instance through VSTPluginMain (or `entry`) with FakeHost::Current(); `open`
    // sends effOpen.
    explicit Instance(bool open = true, MainEntry entry = nullptr)
        : PluginInstance(entry != nullptr ? entry : Entries().vstPluginMain, FakeHost::Current(),
                         open ? Startup::Opened : Startup::Created) {}
};

} // namespace ostinel::test
