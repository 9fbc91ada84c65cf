// Working on many faces at once in the skinning editor, on a sphere of 65,536 faces (the most a
// .3do holds), through the editor's window as a user's action runs it, the window repainted after
// each as the user sees it: Select same skin, Select connected and Select flat region (each of the
// whole sphere, from one face), a Ctrl drag's box over the whole view, and Set texture on every
// face with its undo step and the undo. Each at the window's first size (argument 0) and with a
// maximised view of 1920 x 1080 (argument 1); what each pixel shows, searched as the editor does
// and as straightforwardly as can be. The goals: each selection under 20 ms, the box under
// 16 ms, the texture with its undo under 50 ms. Run on one core:
//     taskset -c 0 build/bin/selection_bench
#include "BenchContext.h"
#include "Dialogs.h"
#include "EditorDocument.h"
#include "FaceSelection.h"
#include "ObjectFile.h"
#include "Tessaro3DUnit.h"

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace {

// The editor with the sphere loaded and framed, shown at its first size or with a view of
// 1920 x 1080 (the form's own place-holder taking the client area less the panel).
TForm1& editor(bool large)
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
    static const QSize first = form->size();
    const QSize client = form->centralWidget()->size(), view = form->RenderView->size();
    const QSize wanted = large ? QSize(1920, 1080) + client - view : first;
    if (form->size() != (large ? form->size() - client + wanted : first)) {
        form->resize(large ? form->size() - client + wanted : first);
        QCoreApplication::processEvents();
        form->FrameAll->trigger();
        form->centralWidget()->repaint();
    }
    return *form;
}

void viewCounters(benchmark::State& state, const TForm1& form)
{
    state.counters["view width"] = form.context->screen.width;
    state.counters["view height"] = form.context->screen.height;
}

// One face half way between the poles alone selected, and shown so.
void fromOneFace(TForm1& form)
{
    form.FaceBar->setValue(32900);
    form.FaceBar->setValue(32901);
    form.centralWidget()->repaint();
}

// An Edit menu item from one face, and the window painted with the selection it made.
void selectFromOneFace(benchmark::State& state, QAction* TForm1::*item)
{
    TForm1& form = editor(state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        fromOneFace(form);
        state.ResumeTiming();
        (form.*item)->trigger();
        form.centralWidget()->repaint();
    }
    state.counters["selected"] = double(CountSelected(form.selection));
    viewCounters(state, form);
}

void selectSameSkin(benchmark::State& state) { selectFromOneFace(state, &TForm1::SelectSameSkin); }
void selectConnected(benchmark::State& state) { selectFromOneFace(state, &TForm1::SelectConnected); }
void selectFlatRegion(benchmark::State& state) { selectFromOneFace(state, &TForm1::SelectFlatRegion); }

void send(QWidget* client, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, client->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::ControlModifier);
    QCoreApplication::sendEvent(client, &event);
}

// A Ctrl drag from one corner of the view to the other, and the window painted with the faces it
// selected; the core's part, what the box shows of the frame, apart.
void boxOverTheView(benchmark::State& state)
{
    TForm1& form = editor(state.range(0) != 0);
    QWidget* client = form.centralWidget();
    const QRect view = form.RenderView->geometry();
    for (auto _ : state) {
        state.PauseTiming();
        fromOneFace(form);
        state.ResumeTiming();
        send(client, QEvent::MouseButtonPress, view.topLeft() + QPoint(2, 2), Qt::LeftButton);
        send(client, QEvent::MouseMove, view.bottomRight() - QPoint(2, 2), Qt::LeftButton);
        send(client, QEvent::MouseButtonRelease, view.bottomRight() - QPoint(2, 2), Qt::NoButton);
        client->repaint();
    }
    state.counters["selected"] = double(CountSelected(form.selection));
    viewCounters(state, form);
}

// The straightforward search for what each pixel shows: every pixel of each triangle's bounding
// box tested against its three edges, a fresh buffer each time.
std::vector<std::int32_t> facesShownPlainly(const RenderContext& context)
{
    const int width = context.maxX + 1, height = context.maxY + 1;
    std::vector<std::int32_t> faces(std::size_t(width) * std::size_t(height), -1);
    std::vector<std::int64_t> depth(faces.size(), std::numeric_limits<std::int64_t>::max());
    for (std::int32_t i = 0; i <= context.triangleCount; ++i) {
        const RenderTriangle& t = context.triangles[std::size_t(i)];
        const std::int64_t x1 = t.sx1, y1 = t.sy1, x2 = t.sx2, y2 = t.sy2, x3 = t.sx3, y3 = t.sy3;
        const std::int64_t area = (x2 - x1) * (y3 - y1) - (y2 - y1) * (x3 - x1);
        if (t.objectId < 0 || area == 0)
            continue;
        const std::int64_t sign = area > 0 ? 1 : -1, key = std::abs(std::int64_t{t.depthKey});
        for (std::int64_t y = std::max<std::int64_t>(std::min({y1, y2, y3}), 0);
             y <= std::min<std::int64_t>(std::max({y1, y2, y3}), height - 1); ++y)
            for (std::int64_t x = std::max<std::int64_t>(std::min({x1, x2, x3}), 0);
                 x <= std::min<std::int64_t>(std::max({x1, x2, x3}), width - 1); ++x) {
                const std::size_t at = std::size_t(y) * std::size_t(width) + std::size_t(x);
                if (sign * ((x2 - x1) * (y - y1) - (y2 - y1) * (x - x1)) >= 0 &&
                    sign * ((x3 - x2) * (y - y2) - (y3 - y2) * (x - x2)) >= 0 &&
                    sign * ((x1 - x3) * (y - y3) - (y1 - y3) * (x - x3)) >= 0 && key <= depth[at]) {
                    depth[at] = key;
                    faces[at] = t.faceIndex;
                }
            }
    }
    return faces;
}

void facesShownPlain(benchmark::State& state)
{
    TForm1& form = editor(state.range(0) != 0);
    ShownFaces shown;
    FacesShown(*form.context, 0, 0, form.context->maxX, form.context->maxY, shown);
    for (auto _ : state)
        if (facesShownPlainly(*form.context) != shown.faces)
            state.SkipWithError("the two searches disagree");
    viewCounters(state, form);
}

void facesShown(benchmark::State& state)
{
    TForm1& form = editor(state.range(0) != 0);
    ShownFaces shown;
    for (auto _ : state)
        FacesShown(*form.context, 0, 0, form.context->maxX, form.context->maxY, shown);
    viewCounters(state, form);
}

// The core's part of a box after the view moved: what each pixel of the new frame shows (into the
// room the editor keeps), then the faces of the box.
void facesInBox(benchmark::State& state)
{
    TForm1& form = editor(state.range(0) != 0);
    const RenderContext& context = *form.context;
    ShownFaces shown;
    std::size_t found = 0;
    for (auto _ : state) {
        FacesShown(context, 0, 0, context.maxX, context.maxY, shown);
        found = FacesInBox(shown, 0, 0, context.maxX, context.maxY).size();
    }
    state.counters["faces shown"] = double(found);
    viewCounters(state, form);
}

void textureEveryFaceAndUndo(benchmark::State& state)
{
    TForm1& form = editor(state.range(0) != 0);
    form.SelectAll->trigger();
    form.currentTexture = 5;
    for (auto _ : state) {
        form.TextValidClick();
        form.document->History().Stack()->undo();
        form.centralWidget()->repaint();
    }
    state.counters["faces"] = double(CountSelected(form.selection));
    viewCounters(state, form);
}

} // namespace

BENCHMARK(selectSameSkin)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(selectConnected)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(selectFlatRegion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(boxOverTheView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(facesShownPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(facesShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(facesInBox)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(textureEveryFaceAndUndo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
