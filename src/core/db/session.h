#pragma once
// What the whole program shares: the program folder, the database in use (or
// none) and the current marker, the colour of the next card's pin.
#include "core/db/database.h"

#include <QObject>
#include <memory>

namespace tb {

class Session : public QObject {
    Q_OBJECT
public:
    // programFolder ends with "/".
    explicit Session(QString programFolder);
    ~Session() override;

    QString programFolder() const { return m_programFolder; }
    QString programFile(const QString& name) const { return m_programFolder + name; }

    Database* database() const { return m_database.get(); }
    bool hasDatabase() const { return m_database != nullptr; }
    void setDatabase(std::unique_ptr<Database> database);
    // Opens folder as the database in use; an empty one takes the program
    // folder's current templates (what could not be refreshed in warnings).
    // Returns the count's correction to tell the user, "" for none.
    Result<QString> openForUse(const QString& folder, QList<Error>* warnings);
    // True once a database was created here (its name is remembered).
    bool hasCreatedDatabase() const;
    // The map shown without a database, remembered for the next new one.
    Status useProgramMap(const QString& path);

    // 1 to 7, or 0 (archived: the next right click starts again from 3).
    int marker() const { return m_marker; }
    void setMarker(int marker);
    // The marker a new card takes: the current one, 3 when it is 0.
    int markerForNewCard() const { return m_marker == 0 ? 3 : m_marker; }

    // A short acknowledgement for the user (" Fiche n° 9 enregistrée.").
    void announce(const QString& text) { emit notice(text); }

signals:
    void databaseChanged();
    void notice(const QString& text);
    void markerChanged(int marker);

private:
    QString m_programFolder;
    std::unique_ptr<Database> m_database;
    int m_marker = 3;
};

}  // namespace tb
