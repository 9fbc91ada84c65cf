// Draws the launcher's 320 x 240 picture: a little 3D world of textured blocks under a dusk sky,
// with the suite's name. Run once; its output is kept in launcher/Ormel2Art.png.
//     DrawLauncherArt OUT.png
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr double Horizon = 120;

// A point of the ground plane (x across, z into the screen) seen from a camera 1 unit high.
QPointF project(double x, double y, double z)
{
    const double focal = 160;
    return {Width / 2.0 + x * focal / z, Horizon + (1.0 - y) * focal / z};
}

void drawSky(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, Horizon);
    sky.setColorAt(0, QColor(18, 14, 52));
    sky.setColorAt(0.6, QColor(110, 48, 110));
    sky.setColorAt(1, QColor(250, 150, 90));
    p.fillRect(0, 0, Width, static_cast<int>(Horizon), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 150));
    p.drawEllipse(QPointF(232, 98), 22, 22);
    // Stars: a fixed scatter, so the picture is the same at every run.
    p.setPen(QColor(230, 230, 255));
    for (int i = 0; i < 40; ++i)
        p.drawPoint((i * 97 + 13) % Width, (i * 53 + 7) % 60);
}

void drawGround(QPainter& p)
{
    p.fillRect(0, static_cast<int>(Horizon), Width, Height - static_cast<int>(Horizon), QColor(30, 60, 40));
    for (int row = 0; row < 24; ++row) {
        for (int col = -12; col < 12; ++col) {
            const double z0 = 1.0 + row * 0.6, z1 = z0 + 0.6;
            QPolygonF tile{project(col * 0.6, 0, z0), project(col * 0.6 + 0.6, 0, z0), project(col * 0.6 + 0.6, 0, z1),
                           project(col * 0.6, 0, z1)};
            const bool dark = (row + col) % 2 != 0;
            const int fog = std::min(120, row * 6);
            p.setBrush(dark ? QColor(40 + fog / 2, 90 + fog / 3, 60 + fog / 2) : QColor(70 + fog / 2, 130, 80 + fog / 3));
            p.setPen(Qt::NoPen);
            p.drawPolygon(tile);
        }
    }
}

// A brick texture, then each visible face of a block mapped with it and shaded.
QImage brickTexture()
{
    QImage tex(64, 64, QImage::Format_RGB32);
    tex.fill(QColor(170, 70, 50));
    QPainter t(&tex);
    t.setPen(QPen(QColor(210, 200, 180), 2));
    for (int y = 0; y <= 64; y += 16) {
        t.drawLine(0, y, 64, y);
        const int shift = (y / 16) % 2 ? 16 : 0;
        for (int x = shift; x < 64; x += 32)
            t.drawLine(x, y, x, y + 16);
    }
    return tex;
}

void drawFace(QPainter& p, const QImage& tex, const QPolygonF& face, double light)
{
    const QPolygonF square{QPointF(0, 0), QPointF(64, 0), QPointF(64, 64), QPointF(0, 64)};
    QTransform map;
    QTransform::quadToQuad(square, face, map);
    p.save();
    p.setTransform(map);
    p.drawImage(0, 0, tex);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, static_cast<int>(255 * (1 - light))));
    p.drawPolygon(face);
}

void drawBlock(QPainter& p, const QImage& tex, double x, double z, double size)
{
    const double x0 = x, x1 = x + size, y1 = size, z0 = z, z1 = z + size;
    auto quad = [](QPointF a, QPointF b, QPointF c, QPointF d) { return QPolygonF{a, b, c, d}; };
    // Left or right side, whichever faces the camera, then the front, then the top.
    if (x1 < 0)
        drawFace(p, tex, quad(project(x1, y1, z0), project(x1, y1, z1), project(x1, 0, z1), project(x1, 0, z0)), 0.55);
    if (x0 > 0)
        drawFace(p, tex, quad(project(x0, y1, z1), project(x0, y1, z0), project(x0, 0, z0), project(x0, 0, z1)), 0.55);
    drawFace(p, tex, quad(project(x0, y1, z0), project(x1, y1, z0), project(x1, 0, z0), project(x0, 0, z0)), 0.9);
    drawFace(p, tex, quad(project(x0, y1, z1), project(x1, y1, z1), project(x1, y1, z0), project(x0, y1, z0)), 1.0);
}

void drawTitle(QPainter& p)
{
    QFont font("DejaVu Sans", 30, QFont::Black);
    font.setItalic(true);
    QPainterPath path;
    path.addText(18, 52, font, "Ormel 2");
    p.setPen(QPen(QColor(20, 10, 40), 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QLinearGradient gold(0, 20, 0, 55);
    gold.setColorAt(0, QColor(255, 240, 160));
    gold.setColorAt(1, QColor(230, 140, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawPath(path);
    p.setPen(QColor(235, 225, 255));
    p.setFont(QFont("DejaVu Sans", 8, QFont::Bold));
    p.drawText(22, 70, "make your own 3D game");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: DrawLauncherArt OUT.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    drawSky(p);
    drawGround(p);
    const QImage tex = brickTexture();
    drawBlock(p, tex, 1.6, 7.0, 1.2);
    drawBlock(p, tex, -2.6, 4.2, 1.0);
    drawBlock(p, tex, -0.2, 3.0, 0.7);
    drawTitle(p);
    p.fillRect(0, 222, Width, 18, Qt::black);
    p.end();
    return image.save(argv[1]) ? 0 : 1;
}
