// The default map's drawing: the picture at 100 %, sharp above it, its numbers over the pins.
#include "core/map/pin_index.h"
#include "gui/map/default_map_drawing.h"
#include "gui/map/map_picture.h"
#include "gui_fixture.h"

using namespace testing_support;

namespace {

// Anti-aliasing of borders and numbers differs between the renderer that made
// the picture and Qt's: a pixel matches within this distance in RGB (of 441).
constexpr double kTolerance = 40.0;
const QColor kNumberColour(0x3c, 0x2c, 0x20);

double distance(QRgb a, QRgb b)
{
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return std::sqrt(double(r * r + g * g + bl * bl));
}

// The share of pixels of a that match b within the tolerance.
double matching(const QImage& a, const QImage& b)
{
    long long same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += distance(a.pixel(x, y), b.pixel(x, y)) <= kTolerance;
    return double(same) / (double(a.width()) * a.height());
}

// The picture once its drawing is made.
QImage settled(MapPicture& picture, const QRect& area)
{
    picture.grab(area);
    while (picture.drawingPending())
        QCoreApplication::processEvents();
    return picture.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

long long numberPixels(const QImage& image)
{
    long long n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += distance(image.pixel(x, y), kNumberColour.rgb()) < 12;
    return n;
}

}  // namespace

TEST(SharpDefaultMap, DrawingAtFullSizeMatchesThePictureAndOnlyTheDefaultMapHasOne)
{
    const QImage picture = QImage(dataDir() + "frc.gif").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(900, 860));
    const auto drawing = DefaultMapDrawing::forMap(dataDir() + "frc.gif");
    ASSERT_TRUE(drawing);
    QImage drawn(picture.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    drawing->drawGround(drawn, drawn.rect(), 1.0);
    drawing->drawNumbers(drawn, drawn.rect(), 1.0);
    EXPECT_GE(matching(drawn, picture), 0.99);

    // Another map, or the default map without its drawing beside it, stays a picture.
    QTemporaryDir dir;
    writeBytes(dir.path() + "/frc.gif", readBytes(dataDir() + "frc.gif"));
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/frc.gif"));
    writeBytes(dir.path() + "/frc.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"9\" height=\"9\"/></svg>");
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/frc.gif"));
    writeBytes(dir.path() + "/plan.gif", readBytes(dataDir() + "frc.gif"));
    writeBytes(dir.path() + "/plan.svg", readBytes(dataDir() + "frc.svg"));
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/plan.gif"));
}

TEST(SharpDefaultMap, ZoomedPictureIsTheDrawingInPlaceWithItsNumbersOverCrowdedPins)
{
    const QImage gif(dataDir() + "frc.gif");
    QWidget view;
    view.resize(900 * 4, 860 * 4);
    MapPicture picture(&view);
    picture.setDrawing(DefaultMapDrawing::forMap(dataDir() + "frc.gif"));
    picture.setImage(&gif);
    // A dark grey pin (marker 1) on every third pixel: nothing of the map
    // shows between them but the numbers.
    std::vector<tb::Pin> pins;
    for (int y = 0; y < 860; y += 3)
        for (int x = 0; x < 900; x += 3)
            pins.push_back({float(x), float(y), 1});
    picture.setPins(pins);
    const long long shownAtFull = numberPixels(settled(picture, picture.rect()));
    EXPECT_GT(shownAtFull, 1500);

    // Zoomed, the picture shows at once, its drawing follows between events.
    picture.setZoom(4.0);
    ASSERT_EQ(picture.size(), QSize(3600, 3440));
    const QRect seen(1200, 1600, 800, 800);
    picture.grab(seen);
    EXPECT_TRUE(picture.drawingPending());
    const QImage zoomed = settled(picture, seen);
    EXPECT_GT(numberPixels(zoomed), 2000);

    // Without pins the zoomed drawing lies on the picture enlarged: same places, same colours.
    picture.setPins({});
    const QImage ground = settled(picture, seen);
    const QImage enlarged = gif.convertToFormat(QImage::Format_RGB32).copy(300, 400, 200, 200).scaled(800, 800);
    // (The picture's one-pixel borders become four-pixel blocks there.)
    EXPECT_GE(matching(ground, enlarged), 0.95);

    // The same pins on another map hide its numbers.
    MapPicture plain(&view);
    plain.setImage(&gif);
    plain.setPins(std::move(pins));
    EXPECT_LT(numberPixels(settled(plain, plain.rect())), shownAtFull / 10);
}
