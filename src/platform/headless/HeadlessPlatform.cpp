#include "platform/headless/HeadlessPlatform.h"

#include "common/Error.h"

namespace ostinel::platform {

namespace {

std::vector<ShellRequest>& ShellLog() {
    static std::vector<ShellRequest> log;
    return log;
}

bool Record(ShellRequest::Kind kind, const std::string& path) {
    if (path.empty()) {
        return false;
    }
    ShellLog().push_back({kind, path});
    return true;
}

} // namespace

// The parent is only checked for presence: a headless window lives nowhere.
std::unique_ptr<IPlatformWindow> CreateChildWindow(void* parent, int width, int height,
                                                   IWindowClient& client) {
    if (parent == nullptr) {
        throw Error("No parent window");
    }
    return CreateHeadlessWindow(width, height, client);
}

std::unique_ptr<ITopLevelWindow> CreateTopLevelWindow(const std::string& title, int width,
                                                      int height, ITopLevelClient& client) {
    return std::make_unique<HeadlessTopLevelWindow>(title, width, height, client);
}

HeadlessClipboard& HeadlessProcessClipboard() {
    static HeadlessClipboard clipboard;
    return clipboard;
}

IClipboard& Clipboard() {
    return HeadlessProcessClipboard();
}

bool ShellOpen(const std::string& file) {
    return Record(ShellRequest::Kind::Open, file);
}

bool ShowFolderInExplorer(const std::string& folder) {
    return Record(ShellRequest::Kind::ShowFolder, folder);
}

const std::vector<ShellRequest>& RecordedShellRequests() {
    return ShellLog();
}

void ClearRecordedShellRequests() {
    ShellLog().clear();
}

} // namespace ostinel::platform
