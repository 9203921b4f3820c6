#include "gui/app/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QEventLoop>
#include <QFontDialog>
#include <QInputDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

void QtDialogs::message(const QString& text, const QString& title, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QMessageBox::StandardButton QtDialogs::question(const QString& text, const QString& title,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton,
                                                QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, buttons, m_parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
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
    QPrintDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, m_parent);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtDialogs::chooseColor(const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, m_parent);
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
