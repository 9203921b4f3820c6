// The guide F1 opens (each window's page is checked with every window's accessibility): every
// picture and page named there present.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(Guide, EveryPictureAndLinkOfEveryPageExists)
{
    const QDir help(QStringLiteral(TABULON_DATA_DIR "/help"));
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
