#include "gui/widgets/menu_builder.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QHash>
#include <QSet>
#include <functional>

namespace {

// The letter a text underlines, in lower case; none without one.
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

// The first letter of caption not in taken: a plain letter when there is one,
// as Alt with an accented key is awkward on many keyboards.
QChar freeLetter(const QString& caption, const QString& taken)
{
    for (const bool plainOnly : {true, false})
        for (const QChar c : caption)
            if (c.isLetter() && (!plainOnly || c.unicode() < 128) && !taken.contains(c.toLower()))
                return c;
    return {};
}

// caption (already shown as written) with "&" before mnemonic, never inside an escaped "&&".
QString withLetter(QString text, QChar mnemonic, bool caseAsGiven = true)
{
    if (mnemonic.isNull())
        return text;
    qsizetype at = -1;
    for (const Qt::CaseSensitivity cs : {caseAsGiven ? Qt::CaseSensitive : Qt::CaseInsensitive, Qt::CaseInsensitive}) {
        for (qsizetype i = 0; i < text.size() && at < 0; ++i) {
            if (text[i] == u'&') {
                ++i;
                continue;
            }
            if (QString(text[i]).compare(QString(mnemonic), cs) == 0)
                at = i;
        }
        if (at >= 0)
            break;
    }
    if (at >= 0)
        text.insert(at, u'&');
    return text;
}

// An entry or button given a letter here keeps its text without one under
// this name, so that the letters of its window can be shared out again.
constexpr const char* kUnlettered = "tabulonUnlettered";

QString entryText(QObject* entry, const QWidget* container, const QString& caption, QChar mnemonic)
{
    if (mnemonic.isNull()) {
        QString taken;
        for (const QAction* a : container->actions())
            taken += mnemonicOf(a->text());
        mnemonic = freeLetter(caption, taken);
        entry->setProperty(kUnlettered, shownAsWritten(caption));
    }
    return withLetter(shownAsWritten(caption), mnemonic);
}

// The letters each text may take, plain ones first.
QString lettersOf(const QString& text)
{
    QString letters;
    for (const bool plainOnly : {true, false})
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'&') {
                ++i;
                continue;
            }
            const QChar c = text[i].toLower();
            if (c.isLetter() && (!plainOnly || c.unicode() < 128) && !letters.contains(c))
                letters += c;
        }
    return letters;
}

// Shares letters out among texts (each from its own letters, none taken
// twice): as many texts as possible get one, earlier texts first.
QList<QChar> shareLetters(const QStringList& choices)
{
    QList<QChar> given(choices.size());
    QHash<QChar, qsizetype> holder;
    std::function<bool(qsizetype, QSet<QChar>&)> place = [&](qsizetype k, QSet<QChar>& seen) {
        for (const QChar c : choices[k]) {
            if (seen.contains(c))
                continue;
            seen.insert(c);
            if (!holder.contains(c) || place(holder[c], seen)) {
                holder[c] = k;
                given[k] = c;
                return true;
            }
        }
        return false;
    };
    for (qsizetype k = 0; k < choices.size(); ++k) {
        QSet<QChar> seen;
        place(k, seen);
    }
    return given;
}

}  // namespace

QString shownAsWritten(const QString& text)
{
    QString shown = text;
    return shown.replace(u'&', QStringLiteral("&&"));
}

QAction* addMenuEntry(QWidget* container, const char* name, const QString& caption, QChar mnemonic)
{
    auto* action = new QAction(container);
    action->setText(entryText(action, container, caption, mnemonic));
    action->setObjectName(QString::fromUtf8(name));
    container->addAction(action);
    return action;
}

QMenu* addSubmenu(QWidget* container, const char* name, const QString& caption, QChar mnemonic)
{
    auto* menu = new QMenu(container);
    menu->setTitle(entryText(menu->menuAction(), container, caption, mnemonic));
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    menu->setAccessibleName(caption);
    container->addAction(menu->menuAction());
    return menu;
}

void giveButtonsLetters(QWidget* window)
{
    // Hidden entries and buttons count too: they show later without a new letter.
    const auto ours = [window](const QWidget* w) {
        if (w->window() != window || w->objectName().startsWith(QLatin1String("qt_")))
            return false;
        for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
            if (p->inherits("QCalendarWidget") || p->inherits("QAbstractSpinBox") || p->inherits("QComboBox"))
                return false;
        return true;
    };
    // Letters written in the texts stay; the others are shared out again,
    // the buttons in the order the Tab key reaches them.
    QString fixed;
    QList<QObject*> entries;
    QStringList texts;
    const auto add = [&](QObject* entry, const QString& text) {
        const QVariant unlettered = entry->property(kUnlettered);
        if (!unlettered.isValid() && !mnemonicOf(text).isNull()) {
            fixed += mnemonicOf(text);
            return;
        }
        const QString bare = unlettered.isValid() ? unlettered.toString() : text;
        if (lettersOf(bare).isEmpty())
            return;
        entry->setProperty(kUnlettered, bare);
        entries << entry;
        texts << bare;
    };
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        if (ours(bar))
            for (QAction* a : bar->actions())
                add(a, a->text());
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() && ours(label))
            fixed += mnemonicOf(label->text());
    QList<QAbstractButton*> buttons;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            buttons << b;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (!buttons.contains(b))
            buttons << b;
    for (QAbstractButton* b : buttons)
        if (ours(b) && !b->text().isEmpty()) {
            // The name stays the caption, without the "&".
            if (b->accessibleName().isEmpty() && mnemonicOf(b->text()).isNull())
                b->setAccessibleName(b->text());
            add(b, b->text());
        }
    QStringList choices;
    for (const QString& text : texts) {
        QString letters = lettersOf(text);
        for (const QChar c : fixed)
            letters.remove(c);
        choices << letters;
    }
    const QList<QChar> given = shareLetters(choices);
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const QString text = withLetter(texts[k], given[k], false);
        if (auto* a = qobject_cast<QAction*>(entries[k]))
            a->setText(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(entries[k]))
            b->setText(text);
    }
}
