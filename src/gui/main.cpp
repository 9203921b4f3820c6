// Tabulon: a card file pinned to a map.
#include "gui/app/dialogs.h"
#include "gui/app/main_window.h"
#include "core/db/program_folder.h"
#include "core/external/launcher.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabulon"));
    QApplication::setOrganizationName(QStringLiteral("Tabulon"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    // Standard dialogs read French.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tabulon, fichier clients sur carte"));
    parser.addHelpOption();
    QCommandLineOption folderOption(QStringLiteral("program-folder"),
                                    QStringLiteral("Dossier du programme (modèles, carte, codes postaux)."),
                                    QStringLiteral("dossier"));
    parser.addOption(folderOption);
    parser.process(app);

    const QString programFolder
        = tb::resolveProgramFolder(parser.value(folderOption), QApplication::applicationDirPath());

    tb::SystemLauncher launcher;
    QtDialogs dialogs;
    dialogs.setHelp(&launcher, programFolder);
    FFrance window(dialogs, launcher, programFolder);
    dialogs.setParent(&window);
    window.show();
    return QApplication::exec();
}
