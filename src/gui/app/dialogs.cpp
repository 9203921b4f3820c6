#include "gui/app/dialogs.h"

#include "core/external/launcher.h"
#include "gui/app/print_preview_window.h"

#include <QCoreApplication>

#include <QApplication>
#include <QColorDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpacerItem>
#include <QWidget>

QWidget* QtDialogs::owner() const
{
    // The window the user works in: the modal one first, whatever the window
    // manager activated after the last message closed.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_parent;
}

namespace {

// A short text would make the box narrower than its title, which the title
// bar then cuts: the box is made wide enough for both.
void fitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    QFont bold = box.font();
    bold.setBold(true);
    const int titleWidth = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 160;
    grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                  1, grid->columnCount());
}

}  // namespace

void QtDialogs::message(const QString& text, const QString& title, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner());
    fitTitle(box);
    box.exec();
}

QMessageBox::StandardButton QtDialogs::question(const QString& text, const QString& title,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton,
                                                QMessageBox::Icon icon, const QString& helpPage)
{
    QMessageBox box(icon, title, text, buttons, owner());
    fitTitle(box);
    if (!helpPage.isEmpty())
        box.addButton(QMessageBox::Help);
    box.setDefaultButton(defaultButton);
    // Help shows the page and leaves the question open for the answer.
    for (;;) {
        const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
        if (answer != QMessageBox::Help || helpPage.isEmpty())
            return answer;
        if (m_launcher)
            tb::startHelp(*m_launcher, m_programFolder, helpPage);
    }
}

namespace {
std::optional<QString> textInput(QWidget* owner, const QString& prompt, const QString& title,
                                 const QString& defaultText, QLineEdit::EchoMode echo)
{
    QInputDialog dialog(owner);
    dialog.setTextEchoMode(echo);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    // Wide enough for the whole title in the title bar.
    dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(title) + 160);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
}  // namespace

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& defaultText)
{
    return textInput(owner(), prompt, title, defaultText, QLineEdit::Normal);
}

std::optional<QString> QtDialogs::password(const QString& prompt, const QString& title)
{
    return textInput(owner(), prompt, title, QString(), QLineEdit::Password);
}


void QtDialogs::beep()
{
    QApplication::beep();
}

void QtDialogs::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool QtDialogs::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, owner());
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint)
{
    PrintPreviewWindow preview(printer, paint, owner());
    return preview.exec() == QDialog::Accepted;
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, owner());
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtDialogs::chooseColor(const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, owner());
    if (!color.isValid())
        return std::nullopt;
    return color;
}

void QtDialogs::showModal(QWidget* window)
{
    if (!window)
        return;
    QPointer<QWidget> guard(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    // Windows confirmed by their own button are hidden, others deleted on close.
    QEventLoop loop;
    while (guard && guard->isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    if (guard)
        guard->setWindowModality(Qt::NonModal);
}

void QtDialogs::showModeless(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

std::optional<QString> QtDialogs::chooseFile(const QString& title, const QString& startPath, const QString& filter,
                                             bool forSaving)
{
    const QString path = forSaving ? QFileDialog::getSaveFileName(owner(), title, startPath, filter)
                                   : QFileDialog::getOpenFileName(owner(), title, startPath, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::chooseFolder(const QString& title, const QString& startFolder)
{
    const QString path = QFileDialog::getExistingDirectory(owner(), title, startFolder);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}
