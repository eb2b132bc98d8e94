#pragma once
// The main function of the plug-in's benchmark programs. Instances read settings and look for
// the start preset, so the user's folders point into a temporary folder first.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace ostinel::test {

inline int RunBenchmarks(int argc, char** argv) {
    const std::string home = std::filesystem::temp_directory_path() / "ostinel-bench-home";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace ostinel::test
