// tbaide: shows Tabulon's French user guide, one page per menu and window.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace {

// A button of the bar above the page, with its letter for Alt and its own key.
QAction* addButton(QToolBar* bar, const char* name, const QString& caption, const QKeySequence& key)
{
    QAction* action = bar->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setToolTip(QString(caption).remove(u'&') + QStringLiteral(" (") + key.toString(QKeySequence::NativeText)
                       + u')');
    return action;
}

// Centred on the screen, the frame (a usual title bar) inside it too.
void placeOnScreen(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    const QSize frame(8, 32);
    const QSize size = QSize(760, 600).boundedTo(avail.size() - frame);
    window->resize(size);
    window->move(avail.left() + (avail.width() - size.width() - frame.width()) / 2,
                 avail.top() + (avail.height() - size.height() - frame.height()) / 2);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setObjectName(QStringLiteral("Aide"));
    window.setWindowTitle(QStringLiteral("Aide de Tabulon"));
    auto* browser = new QTextBrowser(&window);
    browser->setObjectName(QStringLiteral("Page"));
    browser->setAccessibleName(QStringLiteral("Page du guide"));
    browser->setOpenExternalLinks(true);
    window.setCentralWidget(browser);

    auto* bar = window.addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("Navigation"));
    bar->setMovable(false);
    QAction* back = addButton(bar, "Precedente", QStringLiteral("&Précédente"), QKeySequence::Back);
    QAction* forward = addButton(bar, "Suivante", QStringLiteral("&Suivante"), QKeySequence::Forward);
    QAction* home = addButton(bar, "Accueil", QStringLiteral("&Accueil"), QKeySequence(Qt::ALT | Qt::Key_Home));
    QObject::connect(back, &QAction::triggered, browser, &QTextBrowser::backward);
    QObject::connect(forward, &QAction::triggered, browser, &QTextBrowser::forward);
    QObject::connect(home, &QAction::triggered, browser, [browser] { browser->setSource(QUrl(QStringLiteral("index.html"))); });
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);

    const QString folder = QApplication::applicationDirPath() + QStringLiteral("/help/");
    // Installed, the guide stands in share/tabulon beside bin.
    browser->setSearchPaths({folder, QDir::currentPath() + QStringLiteral("/help/"),
                             QApplication::applicationDirPath() + QStringLiteral("/../share/tabulon/help/")});
    // "tbaide page.html" opens that page of the guide; anything but a plain
    // page name gives the home page.
    QString page = QStringLiteral("index.html");
    if (argc > 1) {
        const QString asked = QString::fromLocal8Bit(argv[1]);
        if (asked.endsWith(QStringLiteral(".html")) && !asked.contains(u'/') && !asked.contains(u'\\'))
            page = asked;
    }
    browser->setSource(QUrl(page));
    if (browser->toPlainText().isEmpty())
        browser->setSource(QUrl(QStringLiteral("index.html")));
    if (browser->toPlainText().isEmpty())
        browser->setPlainText(QStringLiteral("Le guide de l'utilisateur est introuvable (dossier help)."));
    // The page first opened starts the history: nothing to go back to yet.
    browser->clearHistory();
    placeOnScreen(&window);
    window.show();
    browser->setFocus();
    return QApplication::exec();
}
