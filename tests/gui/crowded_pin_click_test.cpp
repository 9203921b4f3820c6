// A click on a crowded pin as the map shows it finds its card.
#include "gui/map/map_picture.h"
#include "gui_fixture.h"

using namespace testing_support;

TEST(CrowdedPinClick, AClickOnTheCentreOfEachDrawnSquareFindsItsCard)
{
    QImage plain;  // the same map without pins
    {
        GuiFixture empty;
        empty.openWithCards({});
        plain = empty.main->mapImage().convertToFormat(QImage::Format_RGB32);
    }
    GuiFixture f;
    f.openWithCards({makeCard("A", "a", 4, 516, 516), makeCard("B", "b", 7, 530, 516)});
    auto* picture = f.main->findChild<MapPicture*>(QStringLiteral("PicImage"));
    ASSERT_NE(picture, nullptr);
    const QImage shown = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // What the user sees of each pin: the pixels changed left and right of the middle.
    for (const auto& [from, to, card] : {std::tuple{500, 523, 1LL}, std::tuple{524, 546, 2LL}}) {
        QRect drawn;
        for (int y = 500; y < 532; ++y)
            for (int x = from; x < to; ++x)
                if (shown.pixel(x, y) != plain.pixel(x, y))
                    drawn |= QRect(x, y, 1, 1);
        ASSERT_FALSE(drawn.isEmpty());
        f.leftClickMap(drawn.center().x(), drawn.center().y());
        auto* list = qobject_cast<FFrance3*>(f.dialogs.lastModal());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(rowNumbers(child<CardListView>(list, "List1")), QList<long long>{card});
    }
}
