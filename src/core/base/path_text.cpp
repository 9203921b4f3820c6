#include "core/base/path_text.h"

#include "core/base/codepage.h"

#include <QStringDecoder>

#include <algorithm>

namespace tb {

QByteArray encodePathValue(const QString& path)
{
    return fitsCp1252(path) ? toCp1252(path) : path.toUtf8();
}

QString decodePathValue(QByteArrayView bytes)
{
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char b) { return uchar(b) < 0x80; });
    if (!ascii) {
        // Stateless: a sequence cut short at the end is an error, not pending.
        QStringDecoder utf8(QStringConverter::Utf8,
                            QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return fromCp1252(bytes);
}

}  // namespace tb
