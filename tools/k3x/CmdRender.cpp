// k3x render: draws an object exactly as the skinning editor paints it, into a PCX or PNG image.
#include "EditorFrame.h"
#include "ImageWriters.h"
#include "K3xCommand.h"
#include "ObjectFile.h"
#include "Renderer.h"
#include "SafeWrite.h"
#include "FileResolver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct ViewSize {
    int width = 380;
    int height = 384;
};

ViewSize parseSize(const std::string& text)
{
    ViewSize size;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%dx%d%n", &size.width, &size.height, &consumed) != 2 ||
        consumed != static_cast<int>(text.size()))
        throw UsageError("--size takes WIDTHxHEIGHT, not " + text);
    return size;
}

std::int32_t number32(const K3xArgs& args, const std::string& name, std::int32_t fallback)
{
    const long long value = args.number(name, fallback);
    if (value < INT32_MIN || value > INT32_MAX)
        throw UsageError("--" + name + " is out of range");
    return static_cast<std::int32_t>(value);
}

} // namespace

int RunRender(const std::vector<std::string>& words)
{
    // "-o OUT" names the image; the other options are long ones.
    std::vector<std::string> spelled = words;
    for (std::string& word : spelled)
        if (word == "-o")
            word = "--o";
    const K3xArgs args = K3xArgs::Parse(
        spelled, {"o", "bank", "size", "yaw", "pitch", "distance", "height", "ticks", "outline", "repeat"});
    args.expectPositional(1);
    const std::string output = args.option("o");
    if (output.empty())
        throw UsageError("-o OUT.pcx or -o OUT.png is needed");
    const bool png = HasExtension(output, ".png");
    if (!png && !HasExtension(output, ".pcx"))
        throw UsageError("the image must be a .pcx or a .png file");
    const ViewSize size = args.has("size") ? parseSize(args.option("size")) : ViewSize{};
    EditorView view;
    view.yaw = number32(args, "yaw", 0);
    view.pitch = number32(args, "pitch", 0);
    view.distance = number32(args, "distance", 300);
    view.height = number32(args, "height", 0);
    const long long ticks = args.number("ticks", 0);
    const long long repeat = args.number("repeat", 1);
    if (ticks < 0 || repeat < 1)
        throw UsageError("--ticks takes 0 or more, --repeat 1 or more");

    // The context holds the bank's tables (over a megabyte): on the heap.
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, size.width, size.height);
    SetBankPlaceholders(context->bank);
    HighlightColours highlight;
    if (args.has("bank")) {
        const RenderBankLoaded loaded = LoadRenderBank(args.option("bank"), *context);
        highlight = loaded.highlight;
        if (!loaded.cacheWriteError.empty())
            std::fprintf(stderr, "warning: %s\n", loaded.cacheWriteError.c_str());
    }
    for (long long i = 0; i < ticks; ++i)
        AnimateTextures(*context);

    Object3D object;
    LoadObject(args.positional[0], object);

    std::vector<double> milliseconds;
    for (long long i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        DrawEditorFrame(*context, object, view);
        milliseconds.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    if (args.has("repeat")) {
        std::sort(milliseconds.begin(), milliseconds.end());
        const std::size_t n = milliseconds.size();
        const double median = n % 2 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2;
        std::fprintf(stderr, "frames: %lld, median ms: %.3f\n", repeat, median);
    }
    if (args.has("outline")) {
        std::uint8_t highlightColour = 0;
        OutlineFace(*context, number32(args, "outline", 0), highlight, highlightColour);
    }

    // The screen is stored bottom-up; images are written top row first.
    const DisplayImage& screen = context->screen;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(screen.width) * screen.height);
    for (int row = 0; row < screen.height; ++row)
        std::copy_n(screen.row(screen.height - 1 - row), screen.width, pixels.begin() + std::ptrdiff_t(row) * screen.width);
    const PalettePlanes& palette = context->bank.bankPalette;
    WriteFileAtomically(output, png ? EncodePng(screen.width, screen.height, pixels, palette)
                                    : EncodePcx(screen.width, screen.height, pixels, palette));
    return 0;
}

std::string RenderDetails()
{
    return "--yaw and --pitch turn the object in angle units, radians = units x 3.1415 / 16384: 16384 is\n"
           "half a turn, 32768 a whole one, and Tessaro3D turns 60 units for each pixel the mouse drags.\n"
           "--distance is how far the object stands from the eye (300 as Tessaro3D starts), --height how\n"
           "far it is raised (the editor's height bar), in the object's own units. --size is the view in\n"
           "pixels (380x384); --bank draws with that texture bank; --ticks steps its animated textures\n"
           "that many times (ten a second in the editor); --outline F draws face F's blinking outline;\n"
           "--repeat N draws N frames and prints the median time.\n";
}
