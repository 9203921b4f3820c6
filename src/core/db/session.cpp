#include "core/db/session.h"

namespace tb {

Session::Session(QString programFolder) : m_programFolder(std::move(programFolder)) {}

Session::~Session() = default;

void Session::setDatabase(std::unique_ptr<Database> database)
{
    m_database = std::move(database);
    emit databaseChanged();
}

void Session::setMarker(int marker)
{
    if (marker == m_marker)
        return;
    m_marker = marker;
    emit markerChanged(marker);
}

}  // namespace tb
