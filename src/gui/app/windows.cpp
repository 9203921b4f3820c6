#include "gui/app/windows.h"

#include "gui/app/database_chooser_window.h"
#include "gui/app/secondary_window.h"
#include "gui/cards/card_window.h"
#include "gui/external/program_chooser_window.h"
#include "gui/external/program_paths_window.h"
#include "gui/cards/creation_window.h"
#include "gui/cards/scan_viewer_window.h"
#include "gui/cards/text_viewer_window.h"
#include "gui/cards/structure_window.h"
#include "gui/journals/collections_journal_window.h"
#include "gui/journals/interest_journal_window.h"
#include "gui/journals/memento_window.h"
#include "gui/lists/email_window.h"
#include "gui/lists/list_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/zone_window.h"
#include "gui/postal/postal_window.h"
#include "gui/tools/calendar_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/note_editor_window.h"
#include "gui/tools/iban_window.h"
#include "gui/tools/rib_window.h"

void Windows::setUp(AppContext* ctx, QWidget* parent)
{
    m_ctx = ctx;
    m_parent = parent;
}

template <typename W>
W* Windows::ensure(QPointer<W>& slot)
{
    if (isClosed(slot))
        slot = new W(*m_ctx, m_parent);
    return slot;
}

FFrance3* Windows::listWindow() { return ensure(m_list); }
FFrance4* Windows::cardWindow() { return ensure(m_card); }
FFrance5* Windows::postalWindow() { return ensure(m_postal); }
FFrance9* Windows::noteEditor() { return ensure(m_noteEditor); }
FFrance11* Windows::creationWindow() { return ensure(m_creation); }
FFrance22* Windows::mapBrowser() { return ensure(m_mapBrowser); }
Ffrance23* Windows::fileBrowser() { return ensure(m_fileBrowser); }
Ffrance29* Windows::databaseChooser() { return ensure(m_chooser); }
FFrance8* Windows::converter() { return ensure(m_converter); }
Ffrance17* Windows::ribWindow() { return ensure(m_rib); }
FIban* Windows::ibanWindow() { return ensure(m_iban); }
Ffrance7* Windows::calendar() { return ensure(m_calendar); }
Ffrance19* Windows::collectionsJournal() { return ensure(m_collections); }
Ffrance18* Windows::interestJournal() { return ensure(m_interest); }
Ffrance92* Windows::memento() { return ensure(m_memento); }
Ffrance25* Windows::programChooser() { return ensure(m_programChooser); }
Ffrance14* Windows::programPaths() { return ensure(m_programPaths); }
FFrance26* Windows::structureWindow() { return ensure(m_structure); }
Ffrance91* Windows::emailWindow() { return ensure(m_email); }
Ffrance16* Windows::scanViewer() { return ensure(m_scanViewer); }
Ffrancelic* Windows::textViewer() { return ensure(m_textViewer); }
Ffrance28* Windows::zoneWindow() { return ensure(m_zones); }
