#include "gui/external/program_chooser_window.h"

#include "core/db/session.h"
#include "core/external/external_programs.h"
#include "gui/app/dialogs.h"
#include "gui/widgets/file_picker.h"

#include <QPushButton>

Ffrance25::Ffrance25(AppContext& ctx, QWidget* parent)
    : BrowserWindowBase(ctx, parent, QStringLiteral("Ffrance25"), QStringLiteral("Choix d'un logiciel"),
                        QStringLiteral("*"), QStringLiteral("Valider"))
{
    m_picker->setExecutablesOnly(true);
    m_picker->setPictureVisible(false);
    m_picker->setChosenPathVisible(false);
    // A click on a file: the folder followed by its name, less ".exe".
    connect(m_picker, &FilePickerWidget::fileClicked, this,
            [this](const QString& path) { m_picker->setPathText(tb::storedPathOf(path)); });
    connect(Command1, &QPushButton::clicked, this, &Ffrance25::validate);
    finishOpening(QSize(560, 400));
}

void Ffrance25::validate()
{
    if (m_code < 1)
        return;
    // Whatever the path text holds is stored as it is.
    const tb::Status written =
        tb::storeProgramPath(m_ctx.session.programFolder(), m_code, m_picker->pathText());
    if (!written) {
        m_ctx.dialogs.showError(written.error());
        return;
    }
    m_ctx.dialogs.beep();
    hide();
}
