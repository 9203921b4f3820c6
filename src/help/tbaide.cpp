// tbaide: shows Tabulon's French user guide, one page per menu and window.
#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

namespace {

// A button of the row above the page, with its letter for Alt and its own key.
QPushButton* addButton(QHBoxLayout* row, const char* name, const QString& caption, const QKeySequence& key)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(QString(caption).remove(u'&'));
    button->setToolTip(button->accessibleName() + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + u')');
    button->setFocusPolicy(Qt::TabFocus);
    auto* shortcut = new QShortcut(key, button);
    QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    row->addWidget(button);
    return button;
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
    QWidget window;
    window.setObjectName(QStringLiteral("Aide"));
    window.setWindowTitle(QStringLiteral("Aide de Tabulon"));
    auto* browser = new QTextBrowser(&window);
    browser->setObjectName(QStringLiteral("Page"));
    browser->setAccessibleName(QStringLiteral("Page du guide"));
    browser->setOpenExternalLinks(true);

    auto* row = new QHBoxLayout;
    QPushButton* back = addButton(row, "Precedente", QStringLiteral("&Précédente"), QKeySequence::Back);
    QPushButton* forward = addButton(row, "Suivante", QStringLiteral("&Suivante"), QKeySequence::Forward);
    QPushButton* home = addButton(row, "Accueil", QStringLiteral("&Accueil"), QKeySequence(Qt::ALT | Qt::Key_Home));
    row->addStretch();
    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(row);
    layout->addWidget(browser, 1);
    QObject::connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    QObject::connect(forward, &QPushButton::clicked, browser, &QTextBrowser::forward);
    QObject::connect(home, &QPushButton::clicked, browser,
                     [browser] { browser->setSource(QUrl(QStringLiteral("index.html"))); });
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
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
