// The renderer against a software OpenGL peer on the same work: a UV sphere of 2,000 and of
// 20,000 textured triangles covering about 82% of the view, drawn far to near with nearest
// texels and one light level per face, at 640 x 480 and 1280 x 960 (focal factors 256 and 512,
// the view's centre in the middle). The peer is Mesa's off-screen OpenGL (OSMesa, llvmpipe) with
// its default threads and with one (LP_NUM_THREADS=1); ours draws the editor's frame (clear,
// camera, light, DrawObject, RenderScene) on one thread, its default, and with a thread per
// processor.
//
// llvmpipe reads its thread count once per process, so each peer runs in a child process that
// draws when asked. Rounds alternate the four, each drawing for a fixed time; a ratio is taken
// within one round (the machine's other load changes between rounds) and medians are printed.
//     build/bin/peer_bench [--rounds N] [--seconds S] [--images FOLDER]
// --images writes each scene's frames, ours and the peer's, as PNG files to compare by eye.
#include "Angles.h"
#include "BenchContext.h"
#include "EditorFrame.h"
#include "ImageWriters.h"
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
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Scene {
    int slices, stacks; // 2 x slices x (stacks - 1) triangles
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

void writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& topFirst)
{
    PalettePlanes grey;
    for (int i = 0; i < 256; ++i)
        grey.red[i] = grey.green[i] = grey.blue[i] = static_cast<std::uint8_t>(i);
    const std::vector<std::uint8_t> png = EncodePng(width, height, topFirst, grey);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

// The peer's work: every face of the sphere, with the eye-space corners the renderer computes,
// ordered far to near by the renderer's depth key once (the view does not move); back faces are
// left to the peer to drop. The texture is our texture 0 as grey levels, and each face's colour
// its light level at its first corner.
class Peer {
public:
    Peer(const Scene& scene, const Object3D& sphere, const std::uint8_t* texture)
        : width_(scene.width), height_(scene.height), pixels_(std::size_t(scene.width) * scene.height * 4)
    {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
        if (context_ == nullptr || !OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, width_, height_)) {
            std::fprintf(stderr, "peer_bench: no OSMesa context\n");
            std::_Exit(1);
        }
        const EditorView view = BenchSphereView();
        const RotationMatrix turn = MakeRotation(view.yaw, view.pitch, view.roll);
        std::vector<IntPoint> eye;
        for (std::size_t p = 0; p < sphere.pointCount(); ++p) {
            IntPoint e = Rotate(turn, sphere.x[p], sphere.y[p], sphere.z[p]);
            e.y += view.height;
            e.z += view.distance;
            eye.push_back(e);
        }
        struct Ordered {
            std::int64_t key;
            std::size_t face;
        };
        std::vector<Ordered> order;
        for (std::size_t f = 0; f < sphere.faceCount(); ++f) {
            std::int64_t key = 0;
            for (const std::uint16_t p : {sphere.faces[f].p1, sphere.faces[f].p2, sphere.faces[f].p3})
                key += std::int64_t(eye[p].x) * eye[p].x + std::int64_t(eye[p].y) * eye[p].y + std::int64_t(eye[p].z) * eye[p].z;
            order.push_back({key, f});
        }
        std::stable_sort(order.begin(), order.end(), [](const Ordered& a, const Ordered& b) { return a.key > b.key; });

        // Corners A, B, C take texels (0, 0), (128, 0), (128, 128); mapping bit 0 turns them.
        std::vector<float> vertices, texels;
        std::vector<std::uint8_t> colours;
        for (const Ordered& o : order) {
            const Face& face = sphere.faces[o.face];
            const float st[3][2] = {{0, 0}, {1, 0}, {1, 1}};
            const IntPoint& first = eye[face.p1];
            const double d = std::hypot(double(first.x), double(first.y), double(first.z) - view.distance);
            const auto level = static_cast<std::uint8_t>(std::clamp(256 - (d + 1) * 255 / 100000, 0.0, 255.0));
            int corner = 0;
            for (const std::uint16_t p : {face.p1, face.p2, face.p3}) {
                // Our eye space looks along +Z with Y up; OpenGL's along -Z.
                vertices.insert(vertices.end(), {float(eye[p].x), float(eye[p].y), -float(eye[p].z)});
                const float s = st[corner][0], t = st[corner][1];
                texels.insert(texels.end(), {face.mapping & 1 ? 1 - s : s, face.mapping & 1 ? 1 - t : t});
                colours.insert(colours.end(), {level, level, level, 255});
                ++corner;
            }
        }

        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // Screen x = focal x / z + centre: the near plane spans width / focal times its distance.
        const double focal = 256.0 * width_ / 640, nearZ = 10;
        glFrustum(-nearZ * width_ / (2 * focal), nearZ * width_ / (2 * focal), -nearZ * height_ / (2 * focal),
                  nearZ * height_ / (2 * focal), nearZ, 100000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // Faces are clockwise on the screen seen from their front.
        glFrontFace(GL_CW);
        glEnable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glShadeModel(GL_FLAT);

        std::vector<std::uint8_t> rgba;
        for (int i = 0; i < 128 * 128; ++i)
            rgba.insert(rgba.end(), {texture[i], texture[i], texture[i], 255});
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_TEXTURE_2D);

        // A display list keeps the triangles on the peer's side, as a vertex buffer would.
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, vertices.data());
        glTexCoordPointer(2, GL_FLOAT, 0, texels.data());
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours.data());
        list_ = glGenLists(1);
        glNewList(list_, GL_COMPILE);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 3));
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

    // The red channel, top row first.
    std::vector<std::uint8_t> image() const
    {
        std::vector<std::uint8_t> grey(std::size_t(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                grey[std::size_t(y) * width_ + x] = pixels_[(std::size_t(height_ - 1 - y) * width_ + x) * 4];
        return grey;
    }

private:
    int width_, height_;
    std::vector<std::uint8_t> pixels_;
    OSMesaContext context_ = nullptr;
    GLuint list_ = 0;
};

// A peer in a child process: it draws for `seconds` whenever the parent writes a byte, and
// answers the frame rate.
class PeerProcess {
public:
    PeerProcess(const Scene& scene, const Object3D& sphere, const std::uint8_t* texture, bool oneThread,
                double seconds, const std::string& imagePath)
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
            Peer peer(scene, sphere, texture);
            if (!imagePath.empty()) {
                peer.draw();
                writePng(imagePath, scene.width, scene.height, peer.image());
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

void runScene(const Scene& scene, int rounds, double seconds, const std::string& images)
{
    const Object3D& sphere = BenchSphere(scene.slices, scene.stacks);
    auto context = MakeBenchContext(scene.width, scene.height);
    const EditorView view = BenchSphereView();
    const std::string name = std::to_string(sphere.faceCount()) + "-" + std::to_string(scene.width);
    // The peers' processes start before our first frame starts our threads.
    const std::uint8_t* texture = context->bank.image(0);
    PeerProcess peerThreads(scene, sphere, texture, false, seconds, images.empty() ? "" : images + "/peer-" + name + ".png");
    PeerProcess peerOne(scene, sphere, texture, true, seconds, "");
    DrawEditorFrame(*context, sphere, view);
    const int triangles = context->triangleCount + 1;
    const double covered = CoveredShare(*context);
    if (!images.empty()) {
        std::vector<std::uint8_t> topFirst;
        for (int row = scene.height - 1; row >= 0; --row)
            topFirst.insert(topFirst.end(), context->screen.row(row), context->screen.row(row) + scene.width);
        writePng(images + "/ours-" + name + ".png", scene.width, scene.height, topFirst);
    }
    // Ours on one thread and with a thread per processor, the peer with its threads and with one.
    std::vector<Rate> rates[4];
    std::vector<double> ratio;
    for (int round = 0; round < rounds; ++round) {
        SetRenderThreads(*context, 1);
        rates[0].push_back(framesPerSecond(seconds, [&] { DrawEditorFrame(*context, sphere, view); }));
        SetRenderThreads(*context, 0);
        rates[1].push_back(framesPerSecond(seconds, [&] { DrawEditorFrame(*context, sphere, view); }));
        rates[2].push_back(peerThreads.measure());
        rates[3].push_back(peerOne.measure());
        ratio.push_back(std::max(rates[0].back().fps, rates[1].back().fps) /
                        std::max(rates[2].back().fps, rates[3].back().fps));
    }
    auto fps = [&](int which) {
        std::vector<double> values;
        for (const Rate& rate : rates[which])
            values.push_back(rate.fps);
        return median(values);
    };
    auto processorMs = [&](int which) {
        std::vector<double> values;
        for (const Rate& rate : rates[which])
            values.push_back(rate.processorMs);
        return median(values);
    };
    std::printf("%6zu faces %4d x %-4d %5d drawn %2.0f%% | ours %6.0f, threads %6.0f | peer %6.0f, 1 thread %6.0f | "
                "ratio %.2f (%.2f .. %.2f) | ms of processor a frame: ours %.2f, %.2f, peer %.2f, %.2f\n",
                sphere.faceCount(), scene.width, scene.height, triangles, covered * 100, fps(0), fps(1), fps(2), fps(3),
                median(ratio), *std::min_element(ratio.begin(), ratio.end()),
                *std::max_element(ratio.begin(), ratio.end()), processorMs(0), processorMs(1), processorMs(2),
                processorMs(3));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 7;
    double seconds = 0.3;
    std::string images;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(0.01, std::atof(argv[i + 1]));
        else if (std::strcmp(argv[i], "--images") == 0)
            images = argv[i + 1];
    }
    std::printf("Frames per second, medians of %d rounds of %.2f s each; ratio: our best over the peer's best "
                "within a round, median (lowest .. highest)\n",
                rounds, seconds);
    const Scene scenes[] = {{50, 21, 640, 480}, {100, 101, 640, 480}, {50, 21, 1280, 960}, {100, 101, 1280, 960}};
    for (const Scene& scene : scenes)
        runScene(scene, rounds, seconds, images);
    return 0;
}
