#pragma once
// What every window is handed: the session (program folder, database in use,
// current marker), the dialog service and the launcher of other programs.
// Not the registry of the windows: a window that needs another one opened
// emits a request, which the main window answers.
namespace tb {
class Launcher;
class Session;
}
class Dialogs;

struct AppContext {
    tb::Session& session;
    Dialogs& dialogs;
    tb::Launcher& launcher;
};
