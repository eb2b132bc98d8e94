#pragma once
// A plug-in instance created through the entry point, with the module object at hand for the
// parts a host cannot reach (editor hooks, preview, learn), and a recording fake editor.
#include "ostinel/MapEditor.h"
#include "ostinel/VSTPlugin.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"
#include "support/UserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace ostinel::test {

class FakeMapEditor final : public IMapEditor {
public:
    static inline FakeMapEditor* last = nullptr;
    FakeMapEditor() { last = this; }
    ~FakeMapEditor() override {
        if (last == this)
            last = nullptr;
    }
    void PlaceInParent(void* parentHandle) override { parent = parentHandle; }
    int Width() const override { return 950; }
    int Height() const override { return 600; }
    int ClientWidth() const override { return 950; }
    int ClientHeight() const override { return 600; }
    void EditorIdle() override { log.push_back("idle"); }
    void PresetNameChanged() override { log.push_back("preset"); }
    void FocusControlUnderCursor() override { log.push_back("focus"); }
    void ShowMessage(const TMessage& message) override { messages.push_back(message); }
    bool HighlightNoteOn(int note) override {
        log.push_back("on " + std::to_string(note));
        return true;
    }
    bool HighlightNoteOff(int note) override {
        log.push_back("off " + std::to_string(note));
        return true;
    }
    void LearnNote(int note) override { log.push_back("learn " + std::to_string(note)); }
    void LearnEnded() override {} // asked at every idle without a learned note
    void UpdateHighlightedNotes() override { log.push_back("update"); }

    void* parent = nullptr;
    std::vector<std::string> log;
    std::vector<TMessage> messages;
};

inline std::unique_ptr<IEditorForm> MakeFakeEditor(TCustomVSTModule&) {
    return std::make_unique<FakeMapEditor>();
}

// Tests that read or write the user's folders directly know their Linux locations only; on
// Windows they would need the registry and the shell's documents folder.
#if defined(_WIN32)
#define OSTINEL_SKIP_WITHOUT_XDG_FOLDERS() GTEST_SKIP() << "user folders are XDG folders here"
#else
#define OSTINEL_SKIP_WITHOUT_XDG_FOLDERS() (void)0
#endif

class PluginTest : public ::testing::Test {
protected:
    PluginTest() { ClearUserFolders(); }

    void SetUp() override {
        instance = std::make_unique<Instance>();
        module = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(instance->Effect()));
        ASSERT_NE(module, nullptr);
        module->SetEditorFormClass(&MakeFakeEditor);
    }

    FakeMapEditor* OpenEditor() {
        int parent = 0;
        EXPECT_EQ(instance->Dispatch(vst::effEditOpen, 0, 0, &parent), 1);
        return FakeMapEditor::last;
    }

    std::vector<MidiOut> Play(std::initializer_list<MidiOut> in, std::int32_t frames = 64) {
        EventList events;
        for (const MidiOut& e : in)
            events.Add(e.status, e.data1, e.data2, e.deltaFrames);
        host.Clear();
        instance->Block(events, frames);
        return host.events;
    }

    static std::filesystem::path Documents() { return std::getenv("XDG_DOCUMENTS_DIR"); }
    static std::filesystem::path ConfigFile() {
        return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "Quorvat" / "Ostinel" /
               "Config.ini";
    }

    FakeHost host;
    std::unique_ptr<Instance> instance;
    TVSTPlugin* module = nullptr;
};

} // namespace ostinel::test
