#include "core/db/session.h"

#include "core/base/value_files.h"

namespace tb {

Session::Session(QString programFolder) : m_programFolder(std::move(programFolder)) {}

Session::~Session() = default;

void Session::setDatabase(std::unique_ptr<Database> database)
{
    m_database = std::move(database);
    emit databaseChanged();
}

Result<QString> Session::openForUse(const QString& folder, QList<Error>* warnings)
{
    Result<std::unique_ptr<Database>> opened = Database::open(folder);
    if (!opened)
        return opened.error();
    Database* db = opened->get();
    // A corrected count is no empty database: its templates stay.
    if (db->count() == 0 && db->countCorrection().isEmpty())
        if (Status s = db->refreshTemplates(m_programFolder); !s && warnings)
            warnings->append(s.error());
    const QString correction = db->countCorrection();
    setDatabase(std::move(opened).value());
    return correction;
}

bool Session::hasCreatedDatabase() const
{
    return !readPathValue(programFile(QStringLiteral("dossier.txt"))).isEmpty();
}

Status Session::useProgramMap(const QString& path)
{
    return writePathValue(programFile(QStringLiteral("carte.txt")), path);
}

void Session::setMarker(int marker)
{
    if (marker == m_marker)
        return;
    m_marker = marker;
    emit markerChanged(marker);
}

}  // namespace tb
