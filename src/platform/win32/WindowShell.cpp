// Shell requests on Windows through ShellExecuteW: the associated program opens a document,
// Explorer shows a folder. Results above 32 mean the shell accepted the request.
#include "common/Utf.h"
#include "platform/Window.h"

#include "common/win32/WinApi.h"

#include <shellapi.h>

#include <cstdint>
#include <string>

namespace ostinel::platform {

namespace {

bool Execute(const std::wstring& file, const std::wstring& parameters) {
    HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", file.c_str(),
                        parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result) > 32;
}

} // namespace

bool ShellOpen(const std::string& file) {
    return !file.empty() && Execute(Utf8ToWide(file), {});
}

bool ShowFolderInExplorer(const std::string& folder) {
    return !folder.empty() && Execute(L"explorer.exe", L"/e,\"" + Utf8ToWide(folder) + L"\"");
}

} // namespace ostinel::platform
