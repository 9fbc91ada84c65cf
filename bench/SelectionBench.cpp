// Working on many faces at once in the skinning editor, on a sphere of 65,536 faces (the most a
// .3do holds), through the editor's window as a user's action runs it: Select same skin, Select
// connected and Select flat region (each of the whole sphere, from one face), the faces a box over
// the whole view shows in the frame drawn, and Set texture on every face with its undo step and
// the undo. The goals: each selection under 20 ms, the box under 16 ms, the texture with its
// undo under 50 ms. Run on one core:
//     taskset -c 0 build/bin/selection_bench
#include "BenchContext.h"
#include "Dialogs.h"
#include "EditorDocument.h"
#include "FaceSelection.h"
#include "ObjectFile.h"
#include "Tessaro3DUnit.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

// The editor with the sphere loaded, shown at its first size.
TForm1& editor()
{
    static TForm1* form = [] {
        const std::filesystem::path file = std::filesystem::temp_directory_path() / "selection_bench.3do";
        SaveObject(file.string(), BenchSphere(256, 129));
        QString answer; // no bank at start
        Hooks().chooseOpenFile = [&answer](const FileDialogRequest&) { return answer; };
        auto* made = new TForm1;
        QCoreApplication::processEvents();
        answer = QString::fromStdString(file.string());
        made->LoadObjet3D->trigger();
        made->show();
        QCoreApplication::processEvents();
        return made;
    }();
    return *form;
}

void fromOneFace(TForm1& form)
{
    form.FaceBar->setValue(1);
    form.FaceBar->setValue(0);
}

void selectSameSkin(benchmark::State& state)
{
    TForm1& form = editor();
    for (auto _ : state) {
        state.PauseTiming();
        fromOneFace(form);
        state.ResumeTiming();
        form.SelectSameSkin->trigger();
    }
    state.counters["selected"] = double(CountSelected(form.selection));
}

void selectConnected(benchmark::State& state)
{
    TForm1& form = editor();
    for (auto _ : state) {
        state.PauseTiming();
        fromOneFace(form);
        state.ResumeTiming();
        form.SelectConnected->trigger();
    }
    state.counters["selected"] = double(CountSelected(form.selection));
}

void selectFlatRegion(benchmark::State& state)
{
    TForm1& form = editor();
    for (auto _ : state) {
        state.PauseTiming();
        fromOneFace(form);
        state.ResumeTiming();
        form.SelectFlatRegion->trigger();
    }
    state.counters["selected"] = double(CountSelected(form.selection));
}

void boxOverTheView(benchmark::State& state)
{
    TForm1& form = editor();
    form.FrameAll->trigger();
    form.paint();
    const RenderContext& context = *form.context;
    std::size_t found = 0;
    for (auto _ : state)
        found = FacesInBox(context, 0, 0, context.maxX, context.maxY).size();
    state.counters["faces shown"] = double(found);
    state.counters["pixels"] = double(context.screen.width) * context.screen.height;
}

void textureEveryFaceAndUndo(benchmark::State& state)
{
    TForm1& form = editor();
    form.SelectAll->trigger();
    form.currentTexture = 5;
    for (auto _ : state) {
        form.TextValidClick();
        form.document->History().Stack()->undo();
    }
    state.counters["faces"] = double(CountSelected(form.selection));
}

} // namespace

BENCHMARK(selectSameSkin)->Unit(benchmark::kMillisecond);
BENCHMARK(selectConnected)->Unit(benchmark::kMillisecond);
BENCHMARK(selectFlatRegion)->Unit(benchmark::kMillisecond);
BENCHMARK(boxOverTheView)->Unit(benchmark::kMillisecond);
BENCHMARK(textureEveryFaceAndUndo)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
