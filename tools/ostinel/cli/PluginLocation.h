#pragma once
// Where the tool finds the plug-in binary when --plugin does not say.
#include <filesystem>
#include <optional>
#include <vector>

namespace ostinel::cli {

// In order: beside the tool (how the Windows zip and a copied pair are laid out), then
// ../lib/lxvst/ from the tool's folder (the installed layout: tool in bin/, plug-in in
// lib/lxvst/; not on Windows), then the path the tool was built with (the build tree).
[[nodiscard]] std::vector<std::filesystem::path> DefaultPluginCandidates();

// The given path, or the first default candidate that exists. Throws vsthost::HostError
// listing the places searched.
[[nodiscard]] std::filesystem::path
ResolvePluginPath(const std::optional<std::filesystem::path>& given);

} // namespace ostinel::cli
