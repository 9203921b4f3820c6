#include "core/cards/card_creation.h"

#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/base/safe_write.h"
#include "core/cards/card_store.h"

namespace tb {

bool writeCardTexts(const CardStore& store, long long n, const std::array<QString, CardRecord::kFieldCount>& texts)
{
    // A card number of 0 or garbage would write over the first record or
    // before the file: refuse it.
    if (n < 1)
        return false;
    return store.write(n, CardRecord::fromTexts(texts));
}

bool createCard(const CardStore& store, long long n, std::array<QString, CardRecord::kFieldCount>& texts,
                QString& countText)
{
    if (n < 1)
        return false;
    if (numericValue(countText) < double(n))
        countText = plainNumber(n);
    store.writeCountText(countText);
    texts[2] = texts[2].toUpper();
    const bool written = writeCardTexts(store, n, texts);
    for (const CardTemplate& t : kCardTemplates)
        copyFileReplacing(store.file(QString::fromLatin1(t.templateName)),
                          store.sideFile(QString::fromLatin1(t.prefix), n, QString::fromLatin1(t.extension)));
    return written;
}

}  // namespace tb
