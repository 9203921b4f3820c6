#pragma once
// Whether a file changed under the program: its size and time as last
// noted, so that what another program wrote is followed.
#include <QDateTime>
#include <QString>

namespace tb {

class FileWatch {
public:
    explicit FileWatch(QString path) : m_path(std::move(path)) {}
    // The file as it is now is the program's own.
    void note();
    bool changed() const;

private:
    QString m_path;
    qint64 m_size = -1;  // -1: missing
    QDateTime m_time;
};

}  // namespace tb
