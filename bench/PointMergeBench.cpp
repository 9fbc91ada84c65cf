// Merging coincident points: the linear merge on the largest object a file can hold (65,536
// points and 65,536 faces, a third of the points standing where an earlier one does), and both
// the linear merge and the step-by-step rule on 5,000 points, where the rule still ends within a
// minute. Each run checks that the linear merge gives what the benchmark's merge gave.
#include "PointMerge.h"
#include "ReferenceMerge.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

// `points` points, every third one a copy of a random earlier point, and as many random faces,
// one in eight of them virtual.
Object3D meshWithDoubles(int points)
{
    std::mt19937 random(2024);
    Object3D object;
    AllocateObject(object, points - 1, points - 1);
    for (int p = 0; p < points; ++p) {
        const int from = p % 3 == 2 ? static_cast<int>(random() % static_cast<unsigned>(p)) : p;
        if (from != p) {
            object.x[p] = object.x[from];
            object.y[p] = object.y[from];
            object.z[p] = object.z[from];
        } else {
            object.x[p] = static_cast<std::int32_t>(random() % 20000) - 10000;
            object.y[p] = static_cast<std::int32_t>(random() % 20000) - 10000;
            object.z[p] = static_cast<std::int32_t>(random() % 20000) - 10000;
        }
    }
    for (Face& face : object.faces) {
        face.p1 = static_cast<std::uint16_t>(random() % static_cast<unsigned>(points));
        face.p2 = static_cast<std::uint16_t>(random() % static_cast<unsigned>(points));
        face.p3 = static_cast<std::uint16_t>(random() % static_cast<unsigned>(points));
        face.faceType = random() % 8 == 0 ? FaceVirtual : FaceTextured;
    }
    return object;
}

bool sameObject(const Object3D& a, const Object3D& b)
{
    const auto points = static_cast<std::ptrdiff_t>(a.lastPoint) + 1;
    return a.lastPoint == b.lastPoint && a.faces == b.faces && std::equal(a.x.begin(), a.x.begin() + points, b.x.begin()) &&
           std::equal(a.y.begin(), a.y.begin() + points, b.y.begin()) &&
           std::equal(a.z.begin(), a.z.begin() + points, b.z.begin());
}

template <std::size_t (*Merge)(Object3D&)>
void merge(benchmark::State& state)
{
    const Object3D start = meshWithDoubles(static_cast<int>(state.range(0)));
    Object3D object;
    std::size_t removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        object = start;
        state.ResumeTiming();
        removed = Merge(object);
        benchmark::DoNotOptimize(object.faces.data());
    }
    state.counters["removed"] = static_cast<double>(removed);
    // The step-by-step rule's result is what the linear merge must give.
    Object3D linear = start;
    MergeCoincidentPoints(linear);
    if (!sameObject(linear, object))
        state.SkipWithError("the linear merge and the step-by-step rule disagree");
}

} // namespace

BENCHMARK(merge<MergeCoincidentPoints>)->Name("MergeLinear")->Arg(65536)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(merge<ReferenceMergeCoincidentPoints>)
    ->Name("MergeStepByStep")
    ->Arg(5000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
