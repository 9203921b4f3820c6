// Core tests need a GUI application only for images and fonts, never a screen;
// the windows' tests need widgets and a French locale.
#ifdef TABULON_TEST_WIDGETS
#include <QApplication>
#include <QLocale>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's own settings (recent databases, backups made) are never
    // touched by tests, nor by the programs they start.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    TestApplication app(argc, argv);
#ifdef TABULON_TEST_WIDGETS
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
