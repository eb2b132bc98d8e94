// Speed of the map editor's painting, on the real editor opened through the entry point in a
// headless window: a repaint of the whole window (goal 8 ms), of one grid cell (goal 0.3 ms),
// and one step of a value drag with the repaint it causes. Each repaint includes the blit to
// the window's pixels, as a native window does it.
#include "editor/map/Editor.h"
#include "editor/map/MapGridLayout.h"
#include "editor/map/QelDrawGrid.h"
#include "ostinel/EditorWindow.h"
#include "ostinel/VSTPlugin.h"
#include "platform/headless/HeadlessWindow.h"
#include "support/BenchmarkMain.h"
#include "support/FakeHost.h"
#include "support/PluginInstance.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace ostinel;
using namespace ostinel::test;

// Offsets of a target's cells from its first column.
constexpr int kRandomOffset = 3;

// One instance with its editor open in a headless window; every note maps to three targets, so
// every cell on screen shows a value.
class OpenEditor {
public:
    explicit OpenEditor(int skin) {
        host_.record = false;
        module_ = dynamic_cast<TVSTPlugin*>(TBasicVSTModule::FromEffect(plugin_.Effect()));
        if (module_ == nullptr)
            throw std::runtime_error("the entry point made no Ostinel module");
        module_->SetStyle(skin);
        TOstinelChannel& channel = module_->MapStore().Edit()[0];
        channel.SetActive(true);
        for (int n = 0; n < 128; ++n) {
            TOstinTo& targets = channel.Notes[n].Targets;
            targets[1].SetNote(static_cast<float>((n + 4) % 128));
            targets[2].SetNote(static_cast<float>((n + 7) % 128));
            targets[2].SetVelocityScale(-20);
            targets[2].SetRandom(30);
        }
        int parent = 0;
        if (plugin_.Dispatch(vst::effEditOpen, 0, 0, &parent) != 1)
            throw std::runtime_error("effEditOpen failed");
        editor_ = dynamic_cast<TEditorWindow*>(module_->EditorForm());
        window_ = editor_ != nullptr ? dynamic_cast<platform::HeadlessWindow*>(editor_->Window())
                                     : nullptr;
        if (window_ == nullptr)
            throw std::runtime_error("the editor has no headless window");
        Idle();
    }
    ~OpenEditor() { (void)plugin_.Dispatch(vst::effEditClose); }
    OpenEditor(const OpenEditor&) = delete;
    OpenEditor& operator=(const OpenEditor&) = delete;

    void Idle() { (void)plugin_.Dispatch(vst::effEditIdle); }
    gui::WidgetRoot& Root() { return editor_->Root(); }
    TQelDrawGrid& Grid() { return editor_->Form().grdMap(); }
    platform::HeadlessWindow& Window() { return *window_; }
    // A cell's centre in window coordinates.
    gui::Point CellCentre(int col, int row) {
        const gui::Rect r = Grid().CellRect(col, row);
        return Grid().ToRoot({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // The pixels, so the compiler cannot drop the painting.
    void Touch() { benchmark::DoNotOptimize(window_->Screen().GetPixel(0, 0)); }

private:
    FakeHost host_;
    Instance plugin_;
    TVSTPlugin* module_ = nullptr;
    TEditorWindow* editor_ = nullptr;
    platform::HeadlessWindow* window_ = nullptr;
};

// Everything: the heading, the header, every visible grid cell, the blit.
void BM_EditorFullRepaint(benchmark::State& state) {
    OpenEditor e(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        e.Root().InvalidateAll();
        e.Window().PumpEvents();
        e.Touch();
    }
    state.SetLabel(state.range(0) == 0 ? "Carbon" : "Luna");
}
BENCHMARK(BM_EditorFullRepaint)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

// One value cell in the middle of the grid.
void BM_EditorOneCellRepaint(benchmark::State& state) {
    OpenEditor e(0);
    const int col = TargetFirstColumn(1) + kRandomOffset;
    for (auto _ : state) {
        e.Grid().InvalidateCell(col, 10);
        e.Window().PumpEvents();
        e.Touch();
    }
}
BENCHMARK(BM_EditorOneCellRepaint)->Unit(benchmark::kMicrosecond);

// A drag on a Random cell, one pixel up then one down (the value goes back and forth a step):
// the move event, the value change, and the repaint it causes. The step asks for its cell and
// the info line (which shows the value); only those two are painted again, and the window
// copies the box around them from the surface: that copy grows with the cell's distance from
// the info line at the top right.
// Args: target (0..2), row.
void BM_EditorDragStep(benchmark::State& state) {
    OpenEditor e(0);
    const int target = static_cast<int>(state.range(0));
    const int row = static_cast<int>(state.range(1));
    const gui::Point p = e.CellCentre(TargetFirstColumn(target) + kRandomOffset, row);
    e.Window().MouseDown(p);
    e.Window().PumpEvents();
    int dy = -1;
    for (auto _ : state) {
        e.Window().MouseMove({p.x, p.y + dy});
        e.Window().PumpEvents();
        e.Touch();
        dy = dy < 0 ? 0 : -1;
    }
    e.Window().MouseUp(p);
    const gui::Rect painted = e.Window().LastPaintRect();
    state.SetLabel("copied " + std::to_string(painted.Width()) + "x" +
                   std::to_string(painted.Height()));
}
BENCHMARK(BM_EditorDragStep)
    ->Args({2, 1})
    ->Args({2, 10})
    ->Args({0, 20})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return ostinel::test::RunBenchmarks(argc, argv);
}
