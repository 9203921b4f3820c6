#pragma once
// What every window is handed: the shared values, the dialog service, the main
// window and the registry of the other windows.
#include "gui/app/shared_values.h"

class Dialogs;
class FFrance;
class Windows;

struct AppContext {
    SharedValues& values;
    Dialogs& dialogs;
    FFrance* main = nullptr;
    Windows* windows = nullptr;
};
