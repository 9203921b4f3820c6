#pragma once
// The contact files of samples/ and the listings of what reading them gives.
#include "core/exchange/contact.h"
#include "support/fixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <vector>

namespace exchange_samples {

// A file of the samples folder, its bytes as they are.
inline QByteArray sample(const QString& name)
{
    return testing_support::readBytes(QStringLiteral(TABULON_TEST_SAMPLES) + name);
}

// The names of the samples in a folder of samples/, as "folder/name".
inline QStringList samples(const QString& folder, const QString& pattern)
{
    QStringList names;
    for (const QString& name : QDir(QStringLiteral(TABULON_TEST_SAMPLES) + folder).entryList({pattern}, QDir::Files))
        names << folder + u'/' + name;
    return names;
}

// What a reading gave, a line a fact, as a sample's listing ("NAME.txt" beside
// it, its "#" lines aside) holds it.
inline QString listing(const std::vector<tb::Contact>& contacts, const QStringList& notes)
{
    QString out;
    for (size_t i = 0; i < contacts.size(); ++i) {
        const tb::Contact& c = contacts[i];
        out += QStringLiteral("contact %1\n").arg(i + 1);
        for (int k = 2; k <= 20; ++k)
            if (!c.field(k).isEmpty())
                out += QString::number(k) + QStringLiteral(": ") + c.field(k) + u'\n';
        for (const QString& s : c.notKept)
            out += QStringLiteral("non repris: ") + s + u'\n';
        for (const QString& s : c.remarks)
            out += QStringLiteral("remarque: ") + s + u'\n';
        if (!c.photo.isEmpty())
            out += QStringLiteral("photo: ")
                   + QCryptographicHash::hash(c.photo, QCryptographicHash::Sha256).toHex().left(16) + u'\n';
        if (c.pin)
            out += QStringLiteral("épingle: ") + c.pin->marker + u';' + QString::number(c.pin->x) + u';'
                   + QString::number(c.pin->y) + u'\n';
    }
    for (const QString& s : notes)
        out += QStringLiteral("note: ") + s + u'\n';
    return out;
}

inline QString expectedListing(const QString& sampleName)
{
    QStringList lines = QString::fromUtf8(sample(sampleName.section(u'.', 0, -2) + QStringLiteral(".txt"))).split(u'\n');
    lines.removeIf([](const QString& l) { return l.startsWith(u'#'); });
    return lines.join(u'\n');
}

}  // namespace exchange_samples
