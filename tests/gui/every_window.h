#pragma once
// Every window of the program, opened the way a user opens it, on a database
// of one card with a debt and an e-mail address.
#include "gui_fixture.h"

#include <QList>

class QWidget;

namespace testing_support {

// The main window first, then each other window once.
QList<QWidget*> openEveryWindow(GuiFixture& f);

}  // namespace testing_support
