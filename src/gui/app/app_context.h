#pragma once
// What every window is handed: the session (program folder, database in use,
// current marker), the dialog service and the registry of the windows.
namespace tb {
class Session;
}
class Dialogs;
class Windows;

struct AppContext {
    tb::Session& session;
    Dialogs& dialogs;
    Windows& windows;
};
