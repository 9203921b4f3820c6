#pragma once
// The columns of a CSV file matched to the card fields: the user confirms or
// changes the matching, and the encoding when the guess is wrong.
#include "core/exchange/csv.h"

#include <QWidget>
#include <optional>

struct AppContext;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class FImportCsv : public QWidget {
    Q_OBJECT
public:
    FImportCsv(AppContext& ctx, QWidget* parent);

    // The file's bytes and name; captions: exchangeCaptions().
    void setFile(const QString& name, const QByteArray& bytes, const QStringList& captions);
    // True once "Importer" was pressed.
    bool accepted() const { return m_accepted; }
    tb::CsvTable table() const { return m_table; }
    // Why the file could not be read with the chosen encoding, if it could not.
    const std::optional<tb::Error>& error() const { return m_error; }
    // The field of each column (0: not taken), as chosen.
    QList<int> columns() const;

private:
    void parse();

    AppContext& m_ctx;
    QByteArray m_bytes;
    QStringList m_captions;
    tb::CsvTable m_table;
    std::optional<tb::Error> m_error;
    bool m_accepted = false;

    QLabel* LabelFichier = nullptr;
    QComboBox* ComboEncodage = nullptr;
    QLabel* LabelSeparateur = nullptr;
    QTableWidget* TableColonnes = nullptr;
    QPushButton* CommandImporter = nullptr;
    QPushButton* CommandAnnuler = nullptr;
};
