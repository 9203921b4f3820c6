#pragma once
// What the passes over the record file read straight from a record's bytes.
#include <QByteArrayView>

namespace tb {

// CardRecord::isActive from the bytes: a marker of 1 to 9.
inline bool isActiveRecord(QByteArrayView record)
{
    return !record.isEmpty() && record[0] >= '1' && record[0] <= '9';
}

}  // namespace tb
