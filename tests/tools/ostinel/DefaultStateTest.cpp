// The tool writes states with the plug-in's own format code: its default state is the very
// chunk the plug-in binary hands a host.
#include "preset/PresetState.h"
#include "tools/ostinel/ToolSupport.h"
#include "vsthost/Host.h"
#include "vsthost/PluginInstance.h"
#include "vsthost/PluginLibrary.h"

#include <gtest/gtest.h>

namespace ostinel::cli {
namespace {

TEST(DefaultState, PluginChunkEqualsTheToolsDefaultState) {
    const vsthost::PluginLibrary library(test::PluginPath());
    vsthost::Host host;
    vsthost::PluginInstance plugin(library, host);
    const std::vector<std::uint8_t> chunk = plugin.GetChunk(true);
    EXPECT_EQ(chunk.size(), 379389u);
    EXPECT_EQ(chunk, WritePreset(PresetState{}));
}

TEST(DefaultState, ChunkSetThroughTheHostComesBack) {
    PresetState state;
    state.name = "from the tool";
    (*state.map)[9].SetActive(true);
    (*state.map)[9].Notes[36].Targets[0].SetNote(35);
    const std::vector<std::uint8_t> bytes = WritePreset(state);

    const vsthost::PluginLibrary library(test::PluginPath());
    vsthost::Host host;
    vsthost::PluginInstance plugin(library, host);
    plugin.SetChunk(bytes, true);
    const PresetState back = ReadPreset(plugin.GetChunk(true));
    EXPECT_TRUE(back.map->Equals(*state.map));
    // The plug-in keeps a preset name only while that preset file exists in its folder.
    EXPECT_EQ(back.name, "");
}

} // namespace
} // namespace ostinel::cli
