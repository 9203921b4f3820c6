#pragma once
// A person's data, for a client's request to see everything held about them:
// the card's fields as text and as a vCard, its journals, attachments and
// note as stored (deciphered beside it when the key is given), and a
// one-page summary (PDF) of what was found and where.
#include "core/base/error.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tb {

class Database;

struct PersonDataItem {
    QString name;  // the file in the export
    QString what;  // what it holds
    QString from;  // where the database holds it ("" for what is made from the record)
};

struct PersonData {
    std::vector<PersonDataItem> items;  // the summary ("resume.pdf") last
};

// Writes card n's data into target: a folder (made when missing) or, when
// target ends with ".zip", one zip file, whole or not at all. backups are the
// backups that still hold the card, named in the summary. noteKey: the note
// deciphered as well ("" for the note as stored only).
Result<PersonData> exportPersonData(const Database& db, long long n, const QString& target,
                                    const QStringList& backups, const QString& noteKey = {});

// The backups that still hold card n's person (same names and postal code):
// the automatic backups of the program folder's "Sauvegardes/" and the dated
// backups this program made and remembered.
QStringList backupsHolding(const Database& db, long long n, const QString& programFolder);

}  // namespace tb
