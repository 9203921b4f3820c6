#include "gui/cards/text_viewer_window.h"

#include "core/base/francetext.h"
#include "core/tools/note_text.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/lists/list_printer.h"
#include "gui/tools/clipboard_viewer.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton* addButton(QWidget* parent, QHBoxLayout* row, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    row->addWidget(b);
    return b;
}
}  // namespace

Ffrancelic::Ffrancelic(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("Ffrancelic"), QStringLiteral("Document texte"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Document texte"));
    // Shown, never saved: what is typed here would be lost.
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* buttons = new QHBoxLayout;
    Picture1 = addButton(this, buttons, "Picture1", QStringLiteral("Imprimer"));
    Picture2 = addButton(this, buttons, "Picture2", QStringLiteral("Presse-papiers"));
    buttons->addStretch();
    Command1 = addButton(this, buttons, "Command1", QStringLiteral("Sélectionner tout"));
    Command2 = addButton(this, buttons, "Command2", QStringLiteral("Copier"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);

    connect(Picture1, &QPushButton::clicked, this, &Ffrancelic::print);
    connect(Picture2, &QPushButton::clicked, this, &Ffrancelic::showClipboard);
    connect(Command1, &QPushButton::clicked, this, &Ffrancelic::selectAll);
    connect(Command2, &QPushButton::clicked, this, &Ffrancelic::copy);
    resize(620, 520);
    placeOnScreen(this);
}

void Ffrancelic::openDocument(const QString& path)
{
    m_path = path;
    Text1->setPlainText(Francetext::ChargeTexte(path));
}

void Ffrancelic::print()
{
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<tb::ListPrintStyle> style = choosePrintStyle(m_ctx.dialogs, printer, Text1->font(), true);
    if (!style)
        return;
    const QString text = Text1->toPlainText();
    const auto draw = [&](QPrinter& onto) { return tb::printNotePages(onto, text, {style->font, style->color}, Text1->width()); };
    if (!m_ctx.dialogs.previewPrint(printer, draw))
        return;
    m_ctx.dialogs.setBusy(true);
    const int pages = draw(printer);
    m_ctx.dialogs.setBusy(false);
    if (pages == 0)
        m_ctx.dialogs.showError(tb::printStartError());
}

void Ffrancelic::showClipboard()
{
    // A child of this window, so that the modal viewer does not block it.
    if (!m_clipboard)
        m_clipboard = new ClipboardViewer(this);
    m_ctx.dialogs.showModeless(m_clipboard);
}

void Ffrancelic::selectAll()
{
    Text1->selectAll();
    Text1->setFocus();
}

void Ffrancelic::copy()
{
    Text1->copy();
}
