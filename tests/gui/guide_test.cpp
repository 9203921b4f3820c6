// The guide F1 opens: a page for every window, every picture and page named there present.
#include "every_window.h"
#include "gui/app/help_pages.h"

#include <QFile>
#include <QRegularExpression>

using namespace testing_support;

TEST(Guide, EveryWindowHasItsPageAndEveryPictureAndLinkOfEveryPageExists)
{
    const QDir help(QStringLiteral(TABULON_DATA_DIR "/help"));
    GuiFixture f;
    for (QWidget* w : openEveryWindow(f)) {
        const QString page = helpPageOf(w);
        EXPECT_TRUE(!page.isEmpty() && help.exists(page)) << w->objectName().toStdString() << " " << page.toStdString();
    }
    const QRegularExpression named(QStringLiteral("(?:src|href)=\"([^\"#:]+)[\"#]"));
    const QStringList pages = help.entryList({QStringLiteral("*.html")});
    EXPECT_GE(pages.size(), 30);
    for (const QString& page : pages) {
        QFile file(help.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : named.globalMatch(html))
            EXPECT_TRUE(help.exists(m.captured(1))) << page.toStdString() << " names " << m.captured(1).toStdString();
    }
}
