// tbaide: shows Tabulon's French user guide, one page per menu.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextBrowser browser;
    browser.setWindowTitle(QStringLiteral("Aide de Tabulon"));
    browser.setOpenExternalLinks(true);
    const QString folder = QApplication::applicationDirPath() + QStringLiteral("/help/");
    // Installed, the guide stands in share/tabulon beside bin.
    browser.setSearchPaths({folder, QDir::currentPath() + QStringLiteral("/help/"),
                            QApplication::applicationDirPath() + QStringLiteral("/../share/tabulon/help/")});
    // "tbaide page.html" opens that page of the guide; anything but a plain
    // page name gives the home page.
    QString page = QStringLiteral("index.html");
    if (argc > 1) {
        const QString asked = QString::fromLocal8Bit(argv[1]);
        if (asked.endsWith(QStringLiteral(".html")) && !asked.contains(u'/') && !asked.contains(u'\\'))
            page = asked;
    }
    browser.setSource(QUrl(page));
    if (browser.toPlainText().isEmpty())
        browser.setSource(QUrl(QStringLiteral("index.html")));
    if (browser.toPlainText().isEmpty())
        browser.setPlainText(QStringLiteral("Le guide de l'utilisateur est introuvable (dossier help)."));
    browser.resize(760, 600);
    browser.show();
    return QApplication::exec();
}
