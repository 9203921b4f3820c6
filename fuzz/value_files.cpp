// One-value files ("NBFiches.dat", "carte.txt", "dossier.txt", program paths):
// the first value, and paths in the code page or UTF-8. A value written back
// reads back the same.
#include "core/base/value_files.h"
#include "fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString first = tb::parseFirstValue(bytes);
    const QString path = fuzz::put(QStringLiteral("carte.txt"), bytes);
    (void)tb::readFirstValue(path);
    (void)tb::readPathValue(path);
    // A value without line breaks survives its own file.
    if (!first.contains(u'\n') && !first.contains(u'\r') && tb::parseFirstValue(tb::valueLine(first)) != first)
        std::abort();
    return 0;
}
