// Makes the demo game's IMPORT folder: things to try the imports on, as a user brings them.
//     MakeDemoImport FOLDER    writes FOLDER/IMPORT/LANDSCAPE.JPG (a photo-like picture) and
//                              FOLDER/IMPORT/TOWER.OBJ with TOWER.MTL (a model whose walls name the
//                              bank's brick picture, so that they come in textured)
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>

namespace {

// Smooth noise in [0, 1) from a repeatable lattice of values.
double lattice(int x, int y)
{
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xffff) / 65536.0;
}

double noise(double x, double y)
{
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double tx = x - x0, ty = y - y0, sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double top = lattice(x0, y0) + (lattice(x0 + 1, y0) - lattice(x0, y0)) * sx;
    const double bottom = lattice(x0, y0 + 1) + (lattice(x0 + 1, y0 + 1) - lattice(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

double fractal(double x, double y)
{
    double sum = 0, weight = 0.5;
    for (int octave = 0; octave < 6; ++octave, weight /= 2, x *= 2, y *= 2)
        sum += noise(x, y) * weight;
    return sum / 0.984375; // the weights add up to 1 - 1/64
}

int channel(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

// Sky, a low sun, two ranges of hills and a meadow, 1024 x 768.
void writeLandscape(const std::string& path)
{
    const int width = 1024, height = 768;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double u = x / double(width), v = y / double(height);
            const double sun = std::exp(-(std::pow(u - 0.7, 2) + std::pow(v - 0.3, 2)) * 90);
            double r = 90 + 120 * v + 160 * sun, g = 140 + 80 * v + 140 * sun, b = 230 - 20 * v + 60 * sun;
            const double far = 0.45 + 0.12 * fractal(u * 4, 1.3) - 0.05 * std::sin(u * 7);
            const double near = 0.62 + 0.10 * fractal(u * 3 + 7, 4.1);
            const double grain = fractal(u * 60, v * 60);
            if (v > near) {
                const double shade = 0.7 + 0.5 * grain + 0.4 * (v - near);
                r = 60 * shade, g = 130 * shade, b = 40 * shade;
            } else if (v > far) {
                const double shade = 0.8 + 0.3 * fractal(u * 20, v * 20);
                r = 80 * shade + 40, g = 110 * shade + 40, b = 140 * shade + 40;
            } else {
                const double cloud = std::max(0.0, fractal(u * 6, v * 12) - 0.5) * 2;
                r += (255 - r) * cloud, g += (255 - g) * cloud, b += (255 - b) * cloud;
            }
            row[x] = qRgb(channel(r), channel(g), channel(b));
        }
    }
    QImageWriter writer(QString::fromStdString(path), "jpg");
    writer.setQuality(85);
    if (!writer.write(image))
        throw std::runtime_error(path + ": " + writer.errorString().toStdString());
}

// A round tower of brick (its material names the bank's BRICKS picture) under a red cone roof,
// with a yellow flag; Y up, faces counter-clockwise seen from outside, as modelling programs write.
void writeTower(const std::filesystem::path& folder)
{
    std::ofstream mtl(folder / "TOWER.MTL");
    mtl << "newmtl brick\nKd 0.7 0.35 0.25\nmap_Kd bricks.png\n"
        << "newmtl roof\nKd 0.8 0.1 0.1\nnewmtl flag\nKd 0.95 0.85 0.1\nnewmtl pole\nKd 0.3 0.3 0.3\n";
    std::ofstream obj(folder / "TOWER.OBJ");
    obj << "# A brick tower with a red roof and a flag\nmtllib TOWER.MTL\n";
    const int sides = 16;
    const double pi = std::numbers::pi;
    int next = 1; // OBJ indices count from 1
    auto ring = [&](double radius, double y) {
        const int first = next;
        for (int i = 0; i < sides; ++i, ++next)
            obj << "v " << radius * std::cos(2 * pi * i / sides) << ' ' << y << ' ' << -radius * std::sin(2 * pi * i / sides)
                << '\n';
        return first;
    };
    auto point = [&](double x, double y, double z) {
        obj << "v " << x << ' ' << y << ' ' << z << '\n';
        return next++;
    };
    const int bottom = ring(1.0, 0), top = ring(1.0, 3), eave = ring(1.3, 3);
    const int floor = point(0, 0, 0), apex = point(0, 4.6, 0);
    obj << "usemtl brick\n";
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        obj << "f " << bottom + i << ' ' << bottom + j << ' ' << top + j << ' ' << top + i << '\n';
    }
    obj << "usemtl roof\n";
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        obj << "f " << eave + i << ' ' << eave + j << ' ' << apex << '\n';
        obj << "f " << top + j << ' ' << eave + j << ' ' << eave + i << ' ' << top + i << '\n';
        obj << "f " << floor << ' ' << bottom + j << ' ' << bottom + i << '\n';
    }
    // The flag: a thin square pole and a sheet, both standing on the apex.
    obj << "usemtl pole\n";
    const int p0 = point(-0.04, 4.4, -0.04), p1 = point(0.04, 4.4, -0.04), p2 = point(0.04, 4.4, 0.04),
              p3 = point(-0.04, 4.4, 0.04), q0 = point(-0.04, 5.6, -0.04), q1 = point(0.04, 5.6, -0.04),
              q2 = point(0.04, 5.6, 0.04), q3 = point(-0.04, 5.6, 0.04);
    obj << "f " << q0 << ' ' << q1 << ' ' << p1 << ' ' << p0 << "\nf " << q1 << ' ' << q2 << ' ' << p2 << ' ' << p1
        << "\nf " << q2 << ' ' << q3 << ' ' << p3 << ' ' << p2 << "\nf " << q3 << ' ' << q0 << ' ' << p0 << ' ' << p3
        << "\nf " << q3 << ' ' << q2 << ' ' << q1 << ' ' << q0 << '\n';
    obj << "usemtl flag\n";
    const int f0 = point(0.04, 5.1, 0), f1 = point(0.9, 5.1, 0), f2 = point(0.9, 5.55, 0), f3 = point(0.04, 5.55, 0);
    obj << "f " << f0 << ' ' << f1 << ' ' << f2 << ' ' << f3 << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDemoImport FOLDER\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / "IMPORT";
        std::filesystem::create_directories(folder);
        writeLandscape((folder / "LANDSCAPE.JPG").string());
        writeTower(folder);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "MakeDemoImport: %s\n", error.what());
        return 1;
    }
    return 0;
}
