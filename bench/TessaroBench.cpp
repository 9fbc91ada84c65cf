// The skinning editor's repaint, as its display-rate timer runs it: the frame drawn by the
// renderer, the outline, the two small views, and the window painted, at the default window size
// with the demo bank and the largest demo object (the torus, 5,376 faces). A display frame lasts
// 16.7 ms; the repaint must take well under that for the editor to stay fluid.
#include "Dialogs.h"
#include "Tessaro3DUnit.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

void repaint(benchmark::State& state)
{
    std::filesystem::current_path(ORMEL_DEMO_DIR);
    QString answer = "DEMO.DEF"; // the bank question at start
    Hooks().chooseOpenFile = [&answer](const FileDialogRequest&) { return answer; };
    TForm1 form;
    QCoreApplication::processEvents();
    answer = "TORUS.3DO";
    form.LoadObjet3D->trigger();
    form.show();
    QCoreApplication::processEvents();
    form.viewDistance = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        form.paint();
        form.centralWidget()->repaint(); // paint now rather than at the next turn of the event loop
    }
    state.counters["triangles"] = form.context->triangleCount + 1;
    state.counters["faces"] = form.object.lastFace + 1;
}

} // namespace

// 300: the editor's start distance, inside the ring; 900: the whole torus in view.
BENCHMARK(repaint)->Arg(300)->Arg(900)->Unit(benchmark::kMillisecond);
