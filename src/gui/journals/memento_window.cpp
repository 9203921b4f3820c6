#include "gui/journals/memento_window.h"

#include "core/journals/journal_entries.h"

#include <QDate>
#include <QLineEdit>

Ffrance92::Ffrance92(AppContext& ctx, QWidget* parent)
    : JournalWindowBase(ctx, parent, tb::JournalKind::Memento,
                        {"Ffrance92", QStringLiteral("Memento"), QStringLiteral("Memento"),
                         QStringLiteral("Enregistrer"), QStringLiteral("Supprimer du mementoments l'élément sélectionné"),
                         QStringLiteral("Suppression d'une ligne du mémento"), true})
{
    m_date = addField("Label1", "Text1", tb::memento::kDateCaption);
    m_note = addField("Label2", "Text2", tb::memento::kNoteCaption);
    finishLayout(m_date);
}

void Ffrance92::record()
{
    const tb::Result<QString> line = tb::mementoEntry(m_date->text(), m_note->text(), QDate::currentDate().year());
    if (!line) {
        refuse(line.error());
        return;
    }
    addEntry(*line);
}
