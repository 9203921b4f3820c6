#include "fixtures.h"

#include "core/base/number_text.h"
#include "core/cards/card_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {
namespace {

constexpr qint64 kLinkedSize = 50000;

// A hard link where the file system allows one, else a copy.
void linkOrCopy(const QString& from, const QString& to)
{
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        QFile::copy(from, to);
}

}  // namespace

QString dataDir() { return QStringLiteral(TABULON_DATA_DIR "/"); }

TempProgramFolder::TempProgramFolder()
{
    m_path = m_dir.path() + u'/';
    // Every test has a program folder: the large files the program only reads
    // (postal directory, outlines, maps) are linked rather than copied, which
    // costs more than most tests. writeBytes never writes through a link.
    const QDir src(dataDir());
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files)) {
        if (fi.size() < kLinkedSize)
            QFile::copy(fi.absoluteFilePath(), m_path + fi.fileName());
        else
            linkOrCopy(fi.absoluteFilePath(), m_path + fi.fileName());
    }
    // The form letters that come with the program.
    QDir().mkpath(m_path + QStringLiteral("Lettres"));
    for (const QFileInfo& fi : QDir(dataDir() + QStringLiteral("Lettres")).entryInfoList(QDir::Files))
        QFile::copy(fi.absoluteFilePath(), m_path + QStringLiteral("Lettres/") + fi.fileName());
}

TempDatabase::TempDatabase(const QString& programFolder, const QString& name)
{
    m_path = programFolder + name + u'/';
    QDir().mkpath(m_path);
    // Linked from the program folder's copies: the program replaces these
    // files when it changes them, and so does writeBytes.
    for (const char* f : {"F.xls", "F.txt", "R.txt", "I.txt", "M.txt", "StrFic.txt", "Tabulon.mdb", "carte.txt",
                          "NBFiches.dat"})
        linkOrCopy(programFolder + f, m_path + f);
}

CardRecord makeCard(const QString& surname, const QString& firstNames, int marker, double x, double y,
                    const QString& postalCode, const QString& city)
{
    std::array<QString, CardRecord::kFieldCount> t;
    t[0] = QString::number(marker) + tb::positionText(x, y);
    t[2] = surname;
    t[3] = firstNames;
    t[5] = postalCode;
    t[6] = city;
    return CardRecord::fromTexts(t);
}

CardRecord withFields(CardRecord card, const std::map<int, QString>& fields)
{
    for (const auto& [k, text] : fields)
        card.fields[size_t(k - 1)] = tb::padField(text, CardRecord::kWidths[size_t(k - 1)]);
    return card;
}

void writeCards(const QString& databaseFolder, const std::vector<CardRecord>& cards)
{
    CardStore store(databaseFolder);
    QByteArray bytes;
    for (const CardRecord& card : cards)
        bytes += card.toBytes();
    writeBytes(store.recordFile(), bytes);
    (void)store.writeCount(static_cast<long long>(cards.size()));
}

QImage filledImage(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    // A file linked from data/ is replaced, never written into.
    if (struct stat st; ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1)
        QFile::remove(path);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QString pdfText(const QString& pdf, const QStringList& options)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace testing_support
