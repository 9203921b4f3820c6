// The postal directory files ("c01a20.txt" ...): searches by code and by name,
// a department's listing, and a line taken into a card.
#include "core/postal/postal_directory.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto [query, file] = fuzz::split(fuzz::bytesOf(data, size));
    for (const QString& name : tb::postalFiles())
        fuzz::put(name, file);
    const QString text = QString::fromLatin1(query);
    for (const QString& line : tb::searchByPostalCode(fuzz::folder(), text.left(5))) {
        (void)tb::postalCodeOfLine(line);
        (void)tb::cityOfLine(line);
    }
    for (const QString& line : tb::searchByCityPrefix(fuzz::folder(), text))
        (void)tb::cityOfLine(line);
    (void)tb::departmentListing(fuzz::folder(), query.size() % 100);
    return 0;
}
