#pragma once
// Whole-window tests: a program folder from data/, the fake Dialogs, and the
// real main window started on it.
#include "fake_dialogs.h"
#include "fixtures.h"

#include <QString>
#include <memory>

class FFrance;
class QWidget;

namespace testing_support {

class GuiFixture {
public:
    GuiFixture();
    ~GuiFixture();

    TempProgramFolder program;
    FakeDialogs dialogs;
    std::unique_ptr<FFrance> main;

    // Creates a database named name through the real "Fichier" command.
    void createDatabase(const QString& name = QStringLiteral("BasePerso"));
    // Opens an existing database folder (path ending with "/") as the open command does.
    void openDatabase(const QString& folder);
};

// The child of window with that objectName, or nullptr.
template <typename T>
T* child(QWidget* window, const QString& name);

}  // namespace testing_support

#include <QWidget>
template <typename T>
T* testing_support::child(QWidget* window, const QString& name)
{
    return window ? window->findChild<T*>(name) : nullptr;
}
