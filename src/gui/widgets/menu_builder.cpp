#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

// The letter an entry's text underlines, in lower case; none without one.
QChar mnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toLower();
        ++i;  // "&&" is a shown "&"
    }
    return {};
}

QChar freeLetter(const QWidget* container, const QString& caption)
{
    QString taken;
    for (const QAction* a : container->actions())
        taken += mnemonicOf(a->text());
    for (const QChar c : caption)
        if (c.isLetter() && !taken.contains(c.toLower()))
            return c;
    return {};
}

QString entryText(const QWidget* container, const QString& caption, QChar mnemonic)
{
    if (mnemonic.isNull() && qobject_cast<const QMenuBar*>(container))
        mnemonic = freeLetter(container, caption);
    QString text = caption;
    text.replace(u'&', QStringLiteral("&&"));
    qsizetype at = mnemonic.isNull() ? -1 : text.indexOf(mnemonic);
    if (at < 0 && !mnemonic.isNull())
        at = text.indexOf(mnemonic, 0, Qt::CaseInsensitive);
    // Never inside an escaped "&&".
    if (at >= 0 && text[at] != u'&')
        text.insert(at, u'&');
    return text;
}

}  // namespace

QAction* addMenuEntry(QWidget* container, const char* name, const QString& caption, QChar mnemonic)
{
    auto* action = new QAction(entryText(container, caption, mnemonic), container);
    action->setObjectName(QString::fromUtf8(name));
    container->addAction(action);
    return action;
}

QMenu* addSubmenu(QWidget* container, const char* name, const QString& caption, QChar mnemonic)
{
    auto* menu = new QMenu(entryText(container, caption, mnemonic), container);
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    menu->setAccessibleName(caption);
    container->addAction(menu->menuAction());
    return menu;
}
