#pragma once
// Scripted Dialogs for tests: answers are queued, everything shown is recorded,
// and showModal returns at once so the test can drive the window shown.
#include "gui/app/dialogs.h"

#include <QList>
#include <QPrinter>
#include <QPointer>
#include <QQueue>
#include <QWidget>
#include <functional>

class FakeDialogs : public Dialogs {
public:
    // A scripted answer never asked for fails the test: the flow went another way.
    ~FakeDialogs() override;

    struct Shown {
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        // Questions only: their buttons, default button and help page.
        QMessageBox::StandardButtons buttons = QMessageBox::NoButton;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QString helpPage;
    };
    // What the program showed, in order.
    QList<Shown> messages, questions, inputs, fileChoices;
    QList<QPointer<QWidget>> modals, modeless;
    int beeps = 0, busyDepth = 0, previews = 0;
    // Scripted answers; an empty queue answers as a user pressing OK would (the default button,
    // text, font or colour), or Cancel for files and folders.
    QQueue<QMessageBox::StandardButton> questionAnswers;
    QQueue<std::optional<QString>> inputAnswers, fileAnswers;
    QQueue<std::optional<QFont>> fontAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    QList<QFont> fontsOffered;  // the initial font and colour of each choice
    QList<QColor> colorsOffered;
    // Run, in order, while a window is "modal": each script drives the window
    // shown (types, clicks its confirm button) before showModal returns.
    QQueue<std::function<void(QWidget*)>> modalScripts;
    bool printerAccepted = true;
    QString printToPdf;  // when set, the chosen printer writes this PDF file
    // Each preview draws its pages into previewPdf; an empty queue prints.
    QString previewPdf;
    QQueue<bool> previewAnswers;

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QWidget* lastModal() const { return modals.isEmpty() ? nullptr : modals.last().data(); }

    void message(const QString& text, const QString& title, QMessageBox::Icon icon) override
    {
        messages.append({text, title, icon});
    }
    QMessageBox::StandardButton question(const QString& text, const QString& title,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton, QMessageBox::Icon icon,
                                         const QString& helpPage) override
    {
        questions.append({text, title, icon, buttons, defaultButton, helpPage});
        return next(questionAnswers, defaultButton);
    }
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        inputs.append({prompt, title});
        return next(inputAnswers, std::optional<QString>(defaultText));
    }
    void beep() override { ++beeps; }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    bool choosePrinter(QPrinter& printer) override
    {
        if (!printToPdf.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printToPdf);
        }
        return printerAccepted;
    }
    bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        fontsOffered.append(initial);
        return next(fontAnswers, std::optional<QFont>(initial));
    }
    std::optional<QColor> chooseColor(const QColor& initial) override
    {
        colorsOffered.append(initial);
        return next(colorAnswers, std::optional<QColor>(initial));
    }
    std::optional<QString> chooseFile(const QString& title, const QString& startPath, const QString& filter,
                                      bool forSaving) override
    {
        fileChoices.append({startPath + u'|' + filter + (forSaving ? QStringLiteral("|save") : QString()), title});
        return next(fileAnswers, std::optional<QString>());
    }
    std::optional<QString> chooseFolder(const QString& title, const QString& startFolder) override
    {
        fileChoices.append({startFolder, title});
        return next(fileAnswers, std::optional<QString>());
    }
    void showModal(QWidget* window) override;
    void showModeless(QWidget* window) override
    {
        modeless.append(window);
        if (window)
            window->show();
    }

private:
    template <typename T>
    static T next(QQueue<T>& answers, T otherwise) { return answers.isEmpty() ? otherwise : answers.dequeue(); }
};
