#pragma once
// The "Fichier" entries that take cards in and out: vCard and CSV exports and
// imports, backups and their restoring. Each calls the core and shows what it
// did or why it could not.
#include "core/exchange/card_import.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <optional>
#include <vector>

struct AppContext;
class QMenu;
class QWidget;
class FImportCsv;
class FDoublon;
class FRapportImport;
class MapPointWait;

enum class ExchangeFormat { VCard, Csv, Ods };
// Asks whether the archived cards go too and where, writes the cards (those
// of selection only, when given) and says what it did.
void exportCardsTo(AppContext& ctx, ExchangeFormat format, const std::optional<QSet<long long>>& selection = {});

class ExchangeCommands : public QObject {
    Q_OBJECT
public:
    // owner: the main window, which the windows belong to; pointWait: its
    // map's clicks.
    ExchangeCommands(AppContext& ctx, QWidget* owner, MapPointWait& pointWait);

    // The seven entries, each an action named for tests, added to menu.
    void addTo(QMenu* menu);

    void exportVCard();
    void exportCsv();
    void exportOds();
    void importVCard();
    void importCsv();
    void backup();
    void restore();

private:
    bool refuse(bool needCards);
    // The chosen file's path and bytes; nullopt when there is no database, the
    // user cancels or the file cannot be read (said to the user).
    std::optional<QString> choosePathToImport(const QString& title, const QString& filter);
    std::optional<std::pair<QString, QByteArray>> chooseFileToImport(const QString& title, const QString& filter);
    void exportFile(ExchangeFormat format);
    void startImport(std::vector<tb::Contact> contacts, QStringList notes);
    void runImport(const std::vector<tb::Contact>& contacts, const tb::Placement& placement, QStringList notes);

    AppContext& m_ctx;
    QWidget* m_owner;
    QPointer<FImportCsv> m_csvWindow;
    QPointer<FDoublon> m_duplicateWindow;
    QPointer<FRapportImport> m_reportWindow;
    MapPointWait& m_pointWait;
};
