#pragma once
// The rows of a sample file written beside the tests: each line "a|b|" gives
// {a, b}; lines starting with "#" say what the file holds.
#include "support/fixtures.h"

#include <QList>

inline QList<QByteArrayList> sampleRows(const char* path)
{
    QList<QByteArrayList> rows;
    for (const QByteArray& line : testing_support::readBytes(QStringLiteral(TABULON_TEST_SAMPLES) + path).split('\n'))
        if (!line.startsWith('#') && line.endsWith('|'))
            rows << line.chopped(1).split('|');
    return rows;
}
