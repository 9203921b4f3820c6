#include "gui/map/browser_window_base.h"

#include "gui/app/secondary_window.h"
#include "gui/widgets/file_picker.h"

#include "core/db/session.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

BrowserWindowBase::BrowserWindowBase(AppContext& ctx, QWidget* parent, const QString& objectName,
                                     const QString& title, const QString& pattern, const QString& confirmCaption)
    : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, objectName, title);

    m_picker = new FilePickerWidget(this);
    m_picker->setPattern(pattern);

    Command1 = new QPushButton(confirmCaption, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(confirmCaption);

    Command1->setAutoDefault(true);
    connect(m_picker, &FilePickerWidget::fileChosen, Command1, &QPushButton::click);
    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(m_picker, 1);
}

void BrowserWindowBase::finishOpening(const QSize& size)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    m_layout->addLayout(buttons);

    m_picker->openFolder(m_ctx.session.programFolder());
    resize(size);
    placeOnScreen(this);
}

bool BrowserWindowBase::openFolder(const QString& folder)
{
    return m_picker->openFolder(folder);
}

void BrowserWindowBase::clickFile(const QString& name)
{
    m_picker->clickFile(name);
}
