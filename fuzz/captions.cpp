// "StrFic.txt": the captions of fields 11 to 20, as the card windows read them.
#include "core/base/value_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    (void)tb::parseValues(bytes, 10);
    (void)tb::parseValues(bytes);
    (void)tb::readValues(fuzz::put(QStringLiteral("StrFic.txt"), bytes), 10);
    return 0;
}
