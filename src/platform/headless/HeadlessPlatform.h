#pragma once
// The headless implementation of the platform functions of Window.h, for tests and off-screen
// tools: link ostinel_platform_headless INSTEAD of ostinel_platform_gui. CreateChildWindow
// makes a HeadlessWindow, CreateTopLevelWindow a HeadlessTopLevelWindow, Clipboard() is a
// process-wide HeadlessClipboard, and shell requests are recorded instead of executed. GUI
// thread only.
#include "platform/headless/HeadlessClipboard.h"
#include "platform/headless/HeadlessTopLevel.h"
#include "platform/headless/HeadlessWindow.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ostinel::platform {

struct ShellRequest {
    enum class Kind : std::uint8_t { Open, ShowFolder };
    Kind kind = Kind::Open;
    std::string path;
    friend bool operator==(const ShellRequest&, const ShellRequest&) = default;
};

// ShellOpen and ShowFolderInExplorer calls since the last clear, oldest first.
[[nodiscard]] const std::vector<ShellRequest>& RecordedShellRequests();
void ClearRecordedShellRequests();

// The object behind Clipboard().
[[nodiscard]] HeadlessClipboard& HeadlessProcessClipboard();

} // namespace ostinel::platform
