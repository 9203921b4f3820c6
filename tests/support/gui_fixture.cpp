#include "gui_fixture.h"

#include "gui/app/database_chooser_window.h"
#include "gui/app/main_window.h"

namespace testing_support {

GuiFixture::GuiFixture() : main(std::make_unique<FFrance>(dialogs, program.path())) {}

GuiFixture::~GuiFixture() = default;

void GuiFixture::createDatabase(const QString& name)
{
    dialogs.inputAnswers.enqueue(name);
    main->createDatabase();
}

void GuiFixture::openDatabase(const QString& folder)
{
    dialogs.modalScripts.enqueue([folder](QWidget* w) {
        auto* chooser = qobject_cast<Ffrance29*>(w);
        chooser->openFolder(folder);
        chooser->validate();
    });
    main->openDatabase();
}

}  // namespace testing_support
