// A channel copied in one process and pasted in another, on the platform's real clipboard (the
// per-user store on Linux, the system clipboard on Windows). The program starts itself again
// to run the other process's half: the DISABLED_ tests below run only in that child.
#include "services/BinClipboard.h"
#include "services/ChannelClipboard.h"
#include "services/ChannelClipboardSupport.h"

#include "common/Error.h"
#include "common/TempFolder.h"
#include "platform/Clipboard.h"
#include "state/ByteOrder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include "platform_gui/ScopedEnvironment.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

extern char** environ;
#endif

namespace ostinel {
namespace {

using test::FillDistinctChannel;

constexpr int kPasteChannel = 4;

// ---- The child's halves ----------------------------------------------------------------

TEST(ChannelClipboardChild, DISABLED_CopyDistinctChannel) {
    TOstinelChannel channel;
    FillDistinctChannel(channel);
    TBinClipboard clipboard(platform::Clipboard(), kChannelClipboardFormat);
    CopyToClipboard(channel, clipboard);
}

TEST(ChannelClipboardChild, DISABLED_PasteDistinctChannel) {
    TBinClipboard clipboard(platform::Clipboard(), kChannelClipboardFormat);
    ASSERT_TRUE(clipboard.HasData());
    TNoteMapStore maps;
    PasteFromClipboard(maps, kPasteChannel, clipboard);
    TOstinelChannel expected;
    FillDistinctChannel(expected);
    EXPECT_TRUE(maps.Read()[kPasteChannel].Equals(expected));
}

// ---- Starting the child ----------------------------------------------------------------

#ifdef _WIN32

[[nodiscard]] int RunSelf(const std::string& testName, const std::filesystem::path& output) {
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return -1;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE file = ::CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_also_run_disabled_tests --gtest_filter=" +
                           std::wstring(testName.begin(), testName.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &process);
    ::CloseHandle(file);
    if (!started)
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

#else

[[nodiscard]] int RunSelf(const std::string& testName, const std::filesystem::path& output) {
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (length <= 0)
        return -1;
    self[length] = '\0';
    std::string alsoDisabled = "--gtest_also_run_disabled_tests";
    std::string filter = "--gtest_filter=" + testName;
    char* argv[] = {self, alsoDisabled.data(), filter.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

#endif

struct TwoProcessFixture : ::testing::Test {
    ostinel::test::TempFolder folder;
#ifndef _WIN32
    // The per-user store lives in the session folder: a private one for the test, which the
    // child inherits.
    platform::test::ScopedEnvironment runtime{"XDG_RUNTIME_DIR", folder.Utf8("run")};
#endif
    TBinClipboard clipboard{platform::Clipboard(), kChannelClipboardFormat};

    void RunChild(const std::string& testName, bool expectSuccess) {
        const auto output = folder.path() / "child.txt";
        const int code = RunSelf("ChannelClipboardChild." + testName, output);
        std::ifstream in(output, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        ASSERT_NE(code, -1) << "the child process could not be started";
        if (expectSuccess)
            EXPECT_EQ(code, 0) << text;
        else
            EXPECT_NE(code, 0) << text;
    }

    void SetUp() override {
        try {
            platform::Clipboard().SetText("before the test");
        } catch (const Error& e) {
            GTEST_SKIP() << "no writable clipboard here: " << e.what();
        }
    }
};

TEST_F(TwoProcessFixture, CopiedByAnotherProcessPastesHere) {
    RunChild("DISABLED_CopyDistinctChannel", true);
    // The platform's block: the length word, then the stream (the system may round it up).
    const auto block = platform::Clipboard().GetData(kChannelClipboardFormat);
    ASSERT_TRUE(block);
    ASSERT_GE(block->size(), 23717u);
    EXPECT_EQ(codec::LoadLE<std::int32_t>(block->data()), 23713);
    TNoteMapStore maps;
    ASSERT_TRUE(clipboard.HasData());
    PasteFromClipboard(maps, kPasteChannel, clipboard);
    TOstinelChannel expected;
    FillDistinctChannel(expected);
    EXPECT_TRUE(maps.Read()[kPasteChannel].Equals(expected));
}

TEST_F(TwoProcessFixture, CopiedHerePastesInAnotherProcess) {
    TOstinelChannel channel;
    FillDistinctChannel(channel);
    CopyToClipboard(channel, clipboard);
    RunChild("DISABLED_PasteDistinctChannel", true);

    // The other process finds nothing once text replaced the channel.
    platform::Clipboard().SetText("60");
    RunChild("DISABLED_PasteDistinctChannel", false);
}

} // namespace
} // namespace ostinel
