#include "base/collation.h"

#include <QCollator>
#include <QLocale>

namespace tb {
namespace {

// One collator for the whole program (QCollator is not thread-safe; Tabulon
// runs on one thread).
QCollator& collator()
{
    static QCollator instance = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);  // " 12" sorts before " 2", as text
        c.setIgnorePunctuation(false);
        return c;
    }();
    return instance;
}

}  // namespace

QCollatorSortKey frenchKey(const QString& text)
{
    return collator().sortKey(text);
}

int frenchCompare(const QString& a, const QString& b)
{
    return collator().compare(a, b);
}

}  // namespace tb
