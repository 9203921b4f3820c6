#pragma once
// Test fixtures: a program folder made from data/, a database folder, cards.
#include "core/cards/card_record.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <memory>

namespace testing_support {

// A temporary program folder holding a copy of data/ (path ends with "/").
class TempProgramFolder {
public:
    TempProgramFolder();
    QString path() const { return m_path; }
    QString file(const QString& name) const { return m_path + name; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// A database folder inside a program folder, made like a new database: the
// nine template files copied from data/. Path ends with "/".
class TempDatabase {
public:
    explicit TempDatabase(const QString& programFolder, const QString& name = QStringLiteral("BaseTest"));
    QString path() const { return m_path; }
    QString file(const QString& name) const { return m_path + name; }

private:
    QString m_path;
};

// A card with the given names at (x, y) with marker digit marker.
CardRecord makeCard(const QString& surname, const QString& firstNames, int marker, double x, double y,
                    const QString& postalCode = QString(), const QString& city = QString());

// card with fields given by number (1 to 20), each padded or cut to its width.
CardRecord withFields(CardRecord card, const std::map<int, QString>& fields);

// Writes cards 1..n to the database and sets the count to n.
void writeCards(const QString& databaseFolder, const std::vector<CardRecord>& cards);

// A picture of one colour.
QImage filledImage(QSize size, QColor colour);

// Raw bytes of a file ("" when missing); text written as-is.
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// The repository's data/ folder, ending with "/".
QString dataDir();
// The text pdftotext reads from a PDF file, with its options ("-layout", "-bbox").
QString pdfText(const QString& pdf, const QStringList& options = {});

}  // namespace testing_support
