#pragma once
// What every window is handed: the session (program folder, database in use,
// current marker), the dialog service, the registry of the windows and the
// launcher of other programs.
namespace tb {
class Launcher;
class Session;
}
class Dialogs;
class Windows;

struct AppContext {
    tb::Session& session;
    Dialogs& dialogs;
    Windows& windows;
    tb::Launcher& launcher;
};
