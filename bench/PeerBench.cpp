// The renderer against a software OpenGL peer on the same work, on meshes of different shapes:
//   sphere 2k, sphere 20k   UV spheres of 2,000 and 20,000 faces of one texture (100 x 101 cells:
//                           small faces, squat at the equator, slivers round the poles);
//   sphere 16 textures      200 slices by 50 stacks (19,600 faces) with 16 textures in turn,
//                           face after face: a texture change at every triangle, and slivers;
//   TORUS.3DO, HOUSE.3DO    the demo objects as the editor shows them whole (keyed, plain and
//                           see-through faces in the house), and the torus from near by;
//   sphere 20k filling      the 20,000-face sphere seen from close by, covering the whole view;
// each at 640 x 480 and at 1920 x 1080 (a maximised view), with the demo bank's textures.
//
// The peer is Mesa's off-screen OpenGL (OSMesa, llvmpipe) with its default threads and with one
// (LP_NUM_THREADS=1). It draws the same faces far to near in our order, nearest texels from one
// texture holding every image the mesh uses (so that it never changes texture), each face with
// its light level as its colour; texel 0 of keyed faces is dropped by the alpha test and
// see-through faces are blended. Ours draws the editor's frame (clear, camera, light, DrawObject,
// RenderScene) on one thread and with a thread per processor.
//
// llvmpipe reads its thread count once per process, so each peer runs in a child process that
// draws when asked. Rounds alternate the four, each drawing for a fixed time; a ratio is taken
// within one round (the machine's other load changes between rounds) and medians are printed.
// On a machine that other programs keep busy frame rates mean little; the processor time a frame
// takes on one thread, ours against the peer's, still compares the work ("one thread's ratio").
//     build/bin/peer_bench [--rounds N] [--seconds S] [--images FOLDER] [--only NAME]
// --images writes each scene's frames, ours and the peer's, as PNG files to compare by eye;
// --only runs the scenes whose name contains NAME.
#include "Angles.h"
#include "BenchContext.h"
#include "EditorFrame.h"
#include "ImageWriters.h"
#include "ObjectFile.h"
#include "Renderer.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Scene {
    std::string name;
    const Object3D* object;
    EditorView view;
    int width, height;
};

// The process's processor time in seconds, all its threads together.
double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Frames per second of `draw`, run for `seconds`, and the processor time a frame took, which
// the machine's other load changes less.
struct Rate {
    double fps;
    double processorMs;
};

Rate framesPerSecond(double seconds, const std::function<void()>& draw)
{
    draw(); // warm
    const auto start = Clock::now();
    const double startProcessor = processorSeconds();
    long frames = 0;
    double elapsed = 0;
    do {
        draw();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return {frames / elapsed, (processorSeconds() - startProcessor) * 1000 / frames};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& topFirst,
              const PalettePlanes& palette)
{
    const std::vector<std::uint8_t> png = EncodePng(width, height, topFirst, palette);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

// The peer's work: every face but the virtual ones (which the peer has no way to turn to the
// eye), with the eye-space corners the renderer computes, ordered far to near by the renderer's
// depth key once (the view does not move); back faces are left to the peer to drop.
class Peer {
public:
    Peer(const Scene& scene, const RenderContext& ours)
        : width_(scene.width), height_(scene.height), pixels_(std::size_t(scene.width) * scene.height * 4)
    {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
        if (context_ == nullptr || !OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, width_, height_)) {
            std::fprintf(stderr, "peer_bench: no OSMesa context\n");
            std::_Exit(1);
        }
        const Object3D& object = *scene.object;
        const SkinnerBank& bank = ours.bank;
        const EditorView& view = scene.view;
        const RotationMatrix turn = MakeRotation(view.yaw, view.pitch, view.roll);
        std::vector<IntPoint> eye;
        for (std::size_t p = 0; p < object.pointCount(); ++p) {
            IntPoint e = Rotate(turn, object.x[p], object.y[p], object.z[p]);
            e.y += view.height;
            e.z += view.distance;
            eye.push_back(e);
        }
        struct Ordered {
            std::int64_t key;
            std::size_t face;
        };
        std::vector<Ordered> order;
        for (std::size_t f = 0; f < object.faceCount(); ++f) {
            const Face& face = object.faces[f];
            if (face.faceType == FaceVirtual || std::max({face.p1, face.p2, face.p3}) >= object.pointCount())
                continue;
            std::int64_t key = 0;
            for (const std::uint16_t p : {face.p1, face.p2, face.p3})
                key += std::int64_t(eye[p].x) * eye[p].x + std::int64_t(eye[p].y) * eye[p].y + std::int64_t(eye[p].z) * eye[p].z;
            order.push_back({key, f});
        }
        std::stable_sort(order.begin(), order.end(), [](const Ordered& a, const Ordered& b) { return a.key > b.key; });

        // One texture of square tiles: the images the faces show, and a white one for plain faces.
        std::map<const std::uint8_t*, int> tileOf;
        const std::uint8_t* const white = nullptr;
        tileOf[white] = 0;
        auto imageOf = [&](const Face& face) -> const std::uint8_t* {
            if (face.faceType == FacePlain)
                return white;
            return bank.image(bank.textures[face.texture].current);
        };
        for (const Ordered& o : order)
            tileOf.try_emplace(imageOf(object.faces[o.face]), static_cast<int>(tileOf.size()));
        int across = 1;
        while (across * across < static_cast<int>(tileOf.size()))
            across *= 2;
        const int side = across * 128;
        std::vector<std::uint8_t> atlas(std::size_t(side) * side * 4, 255);
        for (const auto& [image, tile] : tileOf) {
            if (image == nullptr)
                continue;
            for (int v = 0; v < 128; ++v)
                for (int u = 0; u < 128; ++u) {
                    const std::uint8_t texel = image[v * 128 + u];
                    std::uint8_t* at = &atlas[(std::size_t((tile / across) * 128 + v) * side + (tile % across) * 128 + u) * 4];
                    at[0] = bank.bankPalette.red[texel];
                    at[1] = bank.bankPalette.green[texel];
                    at[2] = bank.bankPalette.blue[texel];
                    at[3] = texel == 0 ? 0 : 255;
                }
        }

        // Corners A, B, C take texels (0, 0), (128, 0), (128, 128) of their tile; mapping bit 0
        // turns them by half a turn, bit 1 mirrors them on the diagonal.
        enum Kind { Opaque, Keyed, Blended };
        for (const Ordered& o : order) {
            const Face& face = object.faces[o.face];
            const Kind kind = face.transparency > 0 ? Blended : face.faceType == FaceTexturedKeyed ? Keyed : Opaque;
            const bool twoSided = face.doubleSided != 0;
            if (runs_.empty() || runs_.back().kind != kind || runs_.back().twoSided != twoSided)
                runs_.push_back({kind, twoSided, static_cast<int>(vertices_.size() / 3), 0});
            const int tile = tileOf[imageOf(face)];
            const float tileS = float(tile % across) / across, tileT = float(tile / across) / across;
            const IntPoint& first = eye[face.p1];
            const double d = std::hypot(double(first.x), double(first.y), double(first.z) - view.distance);
            const double level = std::clamp(256 - (d + 1) * 255 / 100000, 0.0, 255.0) / 255;
            std::uint8_t rgb[3] = {255, 255, 255};
            if (face.faceType == FacePlain) {
                const std::uint8_t c = bank.colourRemap[face.texture & 255];
                rgb[0] = bank.bankPalette.red[c], rgb[1] = bank.bankPalette.green[c], rgb[2] = bank.bankPalette.blue[c];
            }
            const auto alpha = static_cast<std::uint8_t>(255 - std::min(100, int(face.transparency)) * 255 / 100);
            const float st[3][2] = {{0, 0}, {1, 0}, {1, 1}};
            int corner = 0;
            for (const std::uint16_t p : {face.p1, face.p2, face.p3}) {
                // Our eye space looks along +Z with Y up; OpenGL's along -Z.
                vertices_.insert(vertices_.end(), {float(eye[p].x), float(eye[p].y), -float(eye[p].z)});
                float s = st[corner][0], t = st[corner][1];
                if (face.mapping & 1)
                    s = 1 - s, t = 1 - t;
                if (face.mapping & 2)
                    std::swap(s, t);
                texels_.insert(texels_.end(), {tileS + s / across, tileT + t / across});
                colours_.insert(colours_.end(), {std::uint8_t(rgb[0] * level), std::uint8_t(rgb[1] * level),
                                                 std::uint8_t(rgb[2] * level), alpha});
                ++corner;
            }
            runs_.back().count += 3;
        }

        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // Screen x = focalX x / z + centre, focalX = width x 128 / 320 and focalY = height x 128 /
        // 240: the near plane spans width / focalX times its distance across.
        const double focalX = width_ * 128 / 320, focalY = height_ * 128 / 240, nearZ = 10;
        glFrustum(-nearZ * width_ / (2 * focalX), nearZ * width_ / (2 * focalX), -nearZ * height_ / (2 * focalY),
                  nearZ * height_ / (2 * focalY), nearZ, 100000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // Faces are clockwise on the screen seen from their front.
        glFrontFace(GL_CW);
        glDisable(GL_DEPTH_TEST);
        glShadeModel(GL_FLAT);

        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, atlas.data());
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_TEXTURE_2D);
        glAlphaFunc(GL_GREATER, 0.5f);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

        // A display list keeps the triangles on the peer's side, as a vertex buffer would.
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, vertices_.data());
        glTexCoordPointer(2, GL_FLOAT, 0, texels_.data());
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours_.data());
        list_ = glGenLists(1);
        glNewList(list_, GL_COMPILE);
        for (const Run& run : runs_) {
            run.kind == Keyed ? glEnable(GL_ALPHA_TEST) : glDisable(GL_ALPHA_TEST);
            run.kind == Blended ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
            run.twoSided ? glDisable(GL_CULL_FACE) : glEnable(GL_CULL_FACE);
            glDrawArrays(GL_TRIANGLES, run.first, run.count);
        }
        glEndList();
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glClearColor(0, 0, 0, 1);
    }

    ~Peer() { OSMesaDestroyContext(context_); }

    void draw()
    {
        glClear(GL_COLOR_BUFFER_BIT);
        glCallList(list_);
        glFinish();
    }

    // The picture as grey levels, top row first.
    std::vector<std::uint8_t> image() const
    {
        std::vector<std::uint8_t> grey(std::size_t(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const std::uint8_t* p = &pixels_[(std::size_t(height_ - 1 - y) * width_ + x) * 4];
                grey[std::size_t(y) * width_ + x] = static_cast<std::uint8_t>((p[0] * 3 + p[1] * 4 + p[2]) / 8);
            }
        return grey;
    }

private:
    struct Run {
        int kind;
        bool twoSided;
        int first, count;
    };
    int width_, height_;
    std::vector<std::uint8_t> pixels_;
    std::vector<float> vertices_, texels_;
    std::vector<std::uint8_t> colours_;
    std::vector<Run> runs_;
    OSMesaContext context_ = nullptr;
    GLuint list_ = 0;
};

// A peer in a child process: it draws for `seconds` whenever the parent writes a byte, and
// answers the frame rate.
class PeerProcess {
public:
    PeerProcess(const Scene& scene, const RenderContext& ours, bool oneThread, double seconds,
                const std::string& imagePath)
    {
        int toChild[2], toParent[2];
        if (pipe(toChild) != 0 || pipe(toParent) != 0) {
            std::perror("peer_bench: pipe");
            std::exit(1);
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(toChild[1]);
            close(toParent[0]);
            if (oneThread)
                setenv("LP_NUM_THREADS", "1", 1);
            Peer peer(scene, ours);
            if (!imagePath.empty()) {
                peer.draw();
                PalettePlanes grey;
                for (int i = 0; i < 256; ++i)
                    grey.red[i] = grey.green[i] = grey.blue[i] = static_cast<std::uint8_t>(i);
                writePng(imagePath, scene.width, scene.height, peer.image(), grey);
            }
            char command = 0;
            while (read(toChild[0], &command, 1) == 1 && command == 'r') {
                const Rate rate = framesPerSecond(seconds, [&] { peer.draw(); });
                if (write(toParent[1], &rate, sizeof rate) != sizeof rate)
                    break;
            }
            std::_Exit(0);
        }
        close(toChild[0]);
        close(toParent[1]);
        commands_ = toChild[1];
        answers_ = toParent[0];
    }

    ~PeerProcess()
    {
        const char quit = 'q';
        [[maybe_unused]] const auto written = write(commands_, &quit, 1);
        close(commands_);
        close(answers_);
        waitpid(pid_, nullptr, 0);
    }

    Rate measure()
    {
        const char run = 'r';
        Rate rate{};
        if (write(commands_, &run, 1) != 1 || read(answers_, &rate, sizeof rate) != sizeof rate) {
            std::fprintf(stderr, "peer_bench: the peer process failed\n");
            std::exit(1);
        }
        return rate;
    }

private:
    pid_t pid_ = -1;
    int commands_ = -1, answers_ = -1;
};

// Answers the lowest ratio of the scene.
double runScene(const Scene& scene, int rounds, double seconds, const std::string& images)
{
    auto context = std::make_unique<RenderContext>();
    ResizeView(*context, scene.width, scene.height);
    LoadRenderBank("DEMO.DEF", *context);
    std::string fileName = scene.name + "-" + std::to_string(scene.width);
    std::replace(fileName.begin(), fileName.end(), ' ', '-');
    // The peers' processes start before our first frame starts our threads.
    PeerProcess peerThreads(scene, *context, false, seconds, images.empty() ? "" : images + "/peer-" + fileName + ".png");
    PeerProcess peerOne(scene, *context, true, seconds, "");
    DrawEditorFrame(*context, *scene.object, scene.view);
    const int triangles = context->triangleCount + 1;
    const double covered = CoveredShare(*context);
    if (!images.empty()) {
        std::vector<std::uint8_t> topFirst;
        for (int row = scene.height - 1; row >= 0; --row)
            topFirst.insert(topFirst.end(), context->screen.row(row), context->screen.row(row) + scene.width);
        writePng(images + "/ours-" + fileName + ".png", scene.width, scene.height, topFirst, context->bank.bankPalette);
    }
    // Ours on one thread and with a thread per processor, the peer with its threads and with one.
    std::vector<Rate> rates[4];
    std::vector<double> ratio, processorRatio;
    for (int round = 0; round < rounds; ++round) {
        SetRenderThreads(*context, 1);
        rates[0].push_back(framesPerSecond(seconds, [&] { DrawEditorFrame(*context, *scene.object, scene.view); }));
        SetRenderThreads(*context, 0);
        rates[1].push_back(framesPerSecond(seconds, [&] { DrawEditorFrame(*context, *scene.object, scene.view); }));
        rates[2].push_back(peerThreads.measure());
        rates[3].push_back(peerOne.measure());
        ratio.push_back(std::max(rates[0].back().fps, rates[1].back().fps) /
                        std::max(rates[2].back().fps, rates[3].back().fps));
        processorRatio.push_back(rates[3].back().processorMs / rates[0].back().processorMs);
    }
    auto middle = [&](int which, double Rate::*field) {
        std::vector<double> values;
        for (const Rate& rate : rates[which])
            values.push_back(rate.*field);
        return median(values);
    };
    std::printf("%-20s %4d x %-4d %6zu faces %5d drawn %3.0f%% | ours %5.0f, threads %5.0f | peer %5.0f, 1 thread %5.0f"
                " | ratio %.2f (%.2f .. %.2f) | processor ms a frame: ours %.2f, %.2f, peer %.2f, %.2f, one thread's ratio %.2f\n",
                scene.name.c_str(), scene.width, scene.height, scene.object->faceCount(), triangles, covered * 100,
                middle(0, &Rate::fps), middle(1, &Rate::fps), middle(2, &Rate::fps), middle(3, &Rate::fps),
                median(ratio), *std::min_element(ratio.begin(), ratio.end()),
                *std::max_element(ratio.begin(), ratio.end()), middle(0, &Rate::processorMs),
                middle(1, &Rate::processorMs), middle(2, &Rate::processorMs), middle(3, &Rate::processorMs),
                median(processorRatio));
    std::fflush(stdout);
    return median(ratio);
}

// The view at which the editor shows a demo object whole: its fitted distance and height.
EditorView wholeView(const Object3D& object, int width, int height, std::int32_t yaw, std::int32_t pitch)
{
    RenderContext fitting;
    ResizeView(fitting, width, height);
    const ObjectFit fit = FitObjectInView(object, fitting);
    EditorView view;
    view.yaw = yaw;
    view.pitch = pitch;
    view.distance = fit.distance;
    view.height = fit.height;
    return view;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 7;
    double seconds = 0.3;
    std::string images, only;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(0.01, std::atof(argv[i + 1]));
        else if (std::strcmp(argv[i], "--images") == 0)
            images = std::filesystem::absolute(argv[i + 1]).string();
        else if (std::strcmp(argv[i], "--only") == 0)
            only = argv[i + 1];
    }
    // The bank and the demo objects are read from the demo folder, as the editor reads them.
    std::filesystem::current_path(ORMEL_DEMO_DIR);
    Object3D torus, house;
    LoadObject("TORUS.3DO", torus);
    LoadObject("HOUSE.3DO", house);
    const Object3D& sphere2k = BenchSphere(50, 21);
    const Object3D& sphere20k = BenchSphere(100, 101);
    const Object3D& sphere16 = BenchSphereOfTextures(200, 50, 16);
    EditorView filling = BenchSphereView();
    filling.distance = 1100; // the sphere's front a tenth of its radius away: every pixel covered

    std::printf("Frames per second, medians of %d rounds of %.2f s each; ratio: our best over the peer's best "
                "within a round, median (lowest .. highest)\n",
                rounds, seconds);
    double lowest = 1e9;
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1920, 1080}}) {
        const Scene scenes[] = {
            {"sphere 2k", &sphere2k, BenchSphereView(), width, height},
            {"sphere 20k", &sphere20k, BenchSphereView(), width, height},
            {"sphere 16 textures", &sphere16, BenchSphereView(), width, height},
            {"TORUS.3DO", &torus, wholeView(torus, width, height, 1200, -3000), width, height},
            {"TORUS.3DO near", &torus, BenchTorusView(), width, height},
            {"HOUSE.3DO", &house, wholeView(house, width, height, 3000, -1500), width, height},
            {"sphere 20k filling", &sphere20k, filling, width, height},
        };
        for (const Scene& scene : scenes)
            if (only.empty() || scene.name.find(only) != std::string::npos)
                lowest = std::min(lowest, runScene(scene, rounds, seconds, images));
    }
    std::printf("lowest ratio: %.2f\n", lowest);
    return 0;
}
