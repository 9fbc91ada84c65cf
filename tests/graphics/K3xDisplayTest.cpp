// The Qt display layer: images painted the right way up with their colour table's colours, and
// the PNG writer's files read by Qt's own decoder.
#include "DisplayImage.h"
#include "GraphicsSamples.h"
#include "ImageWriters.h"
#include "K3xDisplay.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <vector>

namespace {

// A 4 x 2 image whose memory row 0 is colour 1 (red) and row 1 colour 2 (blue).
DisplayImage twoRows()
{
    DisplayImage image;
    CreateImage(image, 4, 2);
    std::fill_n(image.row(0), 4, 1);
    std::fill_n(image.row(1), 4, 2);
    PalettePlanes palette;
    palette.red[1] = 255;
    palette.blue[2] = 255;
    SetColourTable(image, palette);
    return image;
}

QImage canvas(int width, int height)
{
    QImage target(width, height, QImage::Format_RGB32);
    target.fill(Qt::black);
    return target;
}

} // namespace

class K3xDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void drawImageShowsRowZeroAtTheBottom()
    {
        const DisplayImage image = twoRows();
        QImage target = canvas(6, 4);
        {
            QPainter painter(&target);
            DrawImage(image, 1, 1, painter);
        }
        QCOMPARE(target.pixel(1, 1), qRgb(0, 0, 255)); // memory row 1 on top
        QCOMPARE(target.pixel(4, 2), qRgb(255, 0, 0)); // memory row 0 below it
        QCOMPARE(target.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(target.pixel(5, 3), qRgb(0, 0, 0));
    }

    void stretchWithNegativeHeightTurnsTheImageOver()
    {
        const DisplayImage image = twoRows();
        QImage target = canvas(8, 8);
        {
            QPainter painter(&target);
            // As the editors show textures: y = top + height, height negative.
            StretchImage(image, 0, 8, painter, -8, 8);
        }
        QCOMPARE(target.pixel(0, 0), qRgb(255, 0, 0)); // the first row on top
        QCOMPARE(target.pixel(7, 3), qRgb(255, 0, 0));
        QCOMPARE(target.pixel(0, 4), qRgb(0, 0, 255));
        QCOMPARE(target.pixel(7, 7), qRgb(0, 0, 255));
    }

    void presentScreenStretchesOnlyWhenAskedAndNeeded()
    {
        DisplayImage screen = twoRows();
        PalettePlanes green;
        green.green.fill(200);
        ApplyBankPalette(green, screen);
        QVERIFY(screen.paletteRealised);
        QImage target = canvas(8, 8);
        {
            QPainter painter(&target);
            PresentScreen(painter, false, 0, 0, 8, 8, screen);
        }
        QCOMPARE(target.pixel(3, 1), qRgb(0, 200, 0));
        QCOMPARE(target.pixel(3, 2), qRgb(0, 0, 0)); // drawn at its own size
        {
            QPainter painter(&target);
            PresentScreen(painter, true, 0, 0, 8, 8, screen);
        }
        QCOMPARE(target.pixel(7, 7), qRgb(0, 200, 0));
    }

    void presentScreenPaintsWhatQtPaintsOfTheImage()
    {
        // Qt's own painting of the 8-bit image is the oracle; sizes change between frames.
        for (const auto& [width, height] : {std::pair{12, 5}, {12, 5}, {20, 3}, {4, 9}}) {
            DisplayImage screen;
            CreateImage(screen, width, height);
            const std::vector<std::uint8_t> pixels = RandomPixels(width * height, static_cast<unsigned>(width + height));
            std::copy(pixels.begin(), pixels.end(), screen.pixels.begin());
            SetColourTable(screen, RandomPalette(static_cast<unsigned>(height)));
            QImage ours = canvas(24, 12), qts = canvas(24, 12);
            {
                QPainter painter(&ours);
                PresentScreen(painter, false, 2, 1, width, height, screen);
            }
            {
                QPainter painter(&qts);
                DrawImage(screen, 2, 1, painter);
            }
            QCOMPARE(ours, qts);
        }
    }

    // Thumbnails sample the texture at whole steps: every second pixel at 64, each pixel twice at
    // 256; the colours are the palette's, and the scale is the screen's.
    void thumbnailsTakeWholePixelSteps()
    {
        std::vector<std::uint8_t> texture(TexturePixels);
        for (int y = 0; y < TextureSide; ++y)
            for (int x = 0; x < TextureSide; ++x)
                texture[static_cast<std::size_t>(y * TextureSide + x)] = static_cast<std::uint8_t>((x + 2 * y) % 256);
        PalettePlanes palette;
        for (int i = 0; i < 256; ++i)
            palette.red[i] = palette.blue[255 - i] = static_cast<std::uint8_t>(i);
        const struct {
            int side;
            QPoint at;
            int x, y; // the texture pixel shown there
        } cases[] = {{64, {0, 0}, 0, 0}, {64, {5, 3}, 10, 6}, {64, {63, 63}, 126, 126},
                     {256, {5, 3}, 2, 1}, {256, {255, 254}, 127, 127}, {128, {7, 9}, 7, 9}};
        for (const auto& c : cases) {
            const QImage thumbnail = TextureThumbnail(texture.data(), palette, c.side, 2);
            QCOMPARE(thumbnail.size(), QSize(c.side, c.side));
            QCOMPARE(thumbnail.devicePixelRatio(), 2.0);
            const int colour = (c.x + 2 * c.y) % 256;
            QCOMPARE(thumbnail.pixel(c.at), qRgb(colour, 0, 255 - colour));
        }
    }

    void pngFilesReadBackInQt()
    {
        // 300 x 300 needs two stored blocks of deflate data.
        for (const auto& [width, height] : {std::pair{1, 1}, {3, 5}, {300, 300}}) {
            const std::vector<std::uint8_t> pixels = RandomPixels(width * height, static_cast<unsigned>(width));
            const PalettePlanes palette = RandomPalette(static_cast<unsigned>(height));
            const std::vector<std::uint8_t> png = EncodePng(width, height, pixels, palette);
            QImage read;
            QVERIFY(read.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
            QCOMPARE(read.width(), width);
            QCOMPARE(read.height(), height);
            for (int y = 0; y < height; y += 7) {
                for (int x = 0; x < width; x += 5) {
                    const std::uint8_t c = pixels[static_cast<std::size_t>(y) * width + x];
                    QCOMPARE(read.pixel(x, y), qRgb(palette.red[c], palette.green[c], palette.blue[c]));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(K3xDisplayTest)
#include "K3xDisplayTest.moc"
