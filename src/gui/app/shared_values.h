#pragma once
// Values every window shares, held by the main window and handed around.
// Each field is named by the label that held it and keeps its text form.
#include <QString>

struct SharedValues {
    QString Label1 = QStringLiteral("Label1");   // position text of the mouse over the map
    QString Label2;                              // database folder, ending with "/"
    QString Label3;                              // name typed for a new database
    QString Label6 = QStringLiteral("Label6");   // card count, decimal text
    QString Label8;                              // program folder (database creation)
    QString Label9;                              // document the viewer shows
    QString Label10 = QStringLiteral("3");       // current marker digit
    QString Label11;                             // program folder at start, ending with "/"
    QString Label101, Label102, Label103, Label104, Label105, Label106, Label107;
    QString Label200;                            // path of the map shown

    // No database is in use until one is created or opened.
    bool hasDatabase() const { return !Label2.isEmpty() && Label2 != Label11; }
    QString dbFile(const QString& name) const { return Label2 + name; }
    QString programFolder() const { return Label11; }
    QString programFile(const QString& name) const { return Label11 + name; }
};
