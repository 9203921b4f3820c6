// Numbers typed or stored as text, and the masks amounts are shown with.
#include "core/base/masks.h"
#include "core/base/numeric.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto [number, mask] = fuzz::split(fuzz::bytesOf(data, size));
    const QString text = QString::fromLatin1(number);
    const double value = tb::numericValue(text);
    (void)tb::numericValue(QByteArrayView(number));
    (void)tb::numericInteger(text);
    (void)tb::formatMask(value, QString::fromLatin1(mask));
    (void)tb::formatMask(value, QStringLiteral("###,###,###,###,###.00"), QLocale(QLocale::French));
    (void)tb::pointForm(value);
    return 0;
}
