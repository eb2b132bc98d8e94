// The headless platform functions: in-memory clipboard, recorded shell requests and child
// windows that are headless windows.
#include "platform/headless/HeadlessPlatform.h"
#include "platform_gui/RecordingClient.h"

#include "common/Error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostinel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

struct ClipboardFixture : ::testing::Test {
    ClipboardFixture() { HeadlessProcessClipboard().Clear(); }
    ~ClipboardFixture() override { HeadlessProcessClipboard().Clear(); }
    IClipboard& clipboard = Clipboard();
};

TEST_F(ClipboardFixture, IsTheProcessWideHeadlessOne) {
    EXPECT_EQ(&clipboard, &HeadlessProcessClipboard());
    EXPECT_FALSE(clipboard.GetText());
    EXPECT_FALSE(clipboard.HasFormat("OstinelChannel"));
}

TEST_F(ClipboardFixture, HoldsOneEntryAtATime) {
    clipboard.SetText("C# major");
    EXPECT_EQ(clipboard.GetText(), "C# major");
    EXPECT_FALSE(clipboard.GetData("OstinelChannel"));

    clipboard.SetData("OstinelChannel", {1, 2, 3});
    EXPECT_TRUE(clipboard.HasFormat("OstinelChannel"));
    EXPECT_FALSE(clipboard.HasFormat("OstinelChannel2"));
    EXPECT_EQ(clipboard.GetData("OstinelChannel"), (Bytes{1, 2, 3}));
    EXPECT_FALSE(clipboard.GetData("ostinelchannel"));
    EXPECT_FALSE(clipboard.GetText()) << "placing data empties the clipboard";

    clipboard.SetData("Other", {});
    EXPECT_FALSE(clipboard.HasFormat("OstinelChannel"));
    EXPECT_EQ(clipboard.GetData("Other"), Bytes{});

    clipboard.SetText("");
    EXPECT_FALSE(clipboard.HasFormat("Other"));
    EXPECT_EQ(clipboard.GetText(), "");
}

TEST_F(ClipboardFixture, InvalidFormatNamesAreRefused) {
    clipboard.SetText("kept");
    for (const std::string& name :
         {std::string(), std::string("a\nb"), std::string("tab\t"), std::string(256, 'x')}) {
        EXPECT_THROW(clipboard.SetData(name, {1}), Error) << name.size();
        EXPECT_FALSE(clipboard.HasFormat(name));
    }
    EXPECT_EQ(clipboard.GetText(), "kept");
    EXPECT_NO_THROW(clipboard.SetData(std::string(255, 'x'), {1}));
}

TEST(HeadlessShell, RequestsAreRecordedNotRun) {
    ClearRecordedShellRequests();
    EXPECT_TRUE(ShellOpen("/home/u/Documents/Quorvat/Ostinel User Guide.pdf"));
    EXPECT_TRUE(ShowFolderInExplorer("C:\\Users\\Jürgen\\Presets"));
    EXPECT_FALSE(ShellOpen(""));
    EXPECT_THAT(
        RecordedShellRequests(),
        ElementsAre(ShellRequest{ShellRequest::Kind::Open,
                                 "/home/u/Documents/Quorvat/Ostinel User Guide.pdf"},
                    ShellRequest{ShellRequest::Kind::ShowFolder, "C:\\Users\\Jürgen\\Presets"}));
    ClearRecordedShellRequests();
    EXPECT_TRUE(RecordedShellRequests().empty());
}

TEST(HeadlessChildWindow, IsAHeadlessWindowOfTheGivenSize) {
    test::RecordingClient client{950, 600};
    int parent = 0;
    EXPECT_THROW((void)CreateChildWindow(nullptr, 950, 600, client), Error);
    const auto window = CreateChildWindow(&parent, 950, 600, client);
    ASSERT_NE(dynamic_cast<HeadlessWindow*>(window.get()), nullptr);
    EXPECT_EQ(window->ClientWidth(), 950);
    EXPECT_EQ(window->ClientHeight(), 600);
    window->PumpEvents();
    EXPECT_THAT(client.paints, ElementsAre(Rect{0, 0, 950, 600}));
}

} // namespace
} // namespace ostinel::platform
