// The records and the count of a database folder, through every reader the
// program opens them with: the count check, the lists, the pins, one card.
#include "core/db/database.h"
#include "fuzz_support.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto [count, records] = fuzz::split(fuzz::bytesOf(data, size));
    const QString base = fuzz::folder() + QStringLiteral("base/");
    QDir().mkpath(base);
    fuzz::put(QStringLiteral("base/NBFiches.dat"), count);
    fuzz::put(QStringLiteral("base/lesfiches.dat"), records);
    fuzz::put(QStringLiteral("base/carte.txt"), "frc.gif\r\n");
    auto db = tb::Database::open(base, tb::Database::Access::ReadOnly);
    if (!db)
        return 0;
    const tb::Database& d = *db.value();
    for (tb::ListKind kind : {tb::ListKind::Alphabetical, tb::ListKind::ByCity, tb::ListKind::ByPostalCode,
                              tb::ListKind::Archived})
        (void)d.list(kind);
    (void)d.nameList();
    (void)d.cardsAt(100, 100);
    if (d.count() > 0) {
        const auto card = d.card(d.count());
        if (card)
            (void)CardRecord::fromBytes(card->toBytes()).x();
    }
    return 0;
}
