// vCard files from phones, mail programs and address books: read, mapped to
// cards and written back, never a crash, a hang or a gigantic allocation.
#include "core/exchange/card_import.h"
#include "core/exchange/vcard.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QStringList captions = tb::exchangeCaptions(
        {QStringLiteral("Profession"), QStringLiteral("Date de naissance"), QStringLiteral("Société"),
         QStringLiteral("Observations"), QStringLiteral("Montant dû")});
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const tb::VCardReading reading = tb::readVCardPath(fuzz::put(QStringLiteral("contacts.vcf"), bytes), captions);
    long long index = 0;
    for (const tb::Contact& contact : reading.contacts) {
        QStringList notes;
        const CardRecord card = tb::cardOfContact(contact, captions, {}, 1, index++, &notes);
        (void)tb::duplicateKey(card);
        (void)tb::vCardOf(card, captions, contact.photo);
    }
    return 0;
}
