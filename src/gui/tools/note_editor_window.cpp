#include "gui/tools/note_editor_window.h"

#include "core/base/numeric.h"
#include "core/tools/amount_words.h"

#include "core/base/codepage.h"
#include "core/tools/note_cipher.h"
#include "core/tools/note_text.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/lists/list_printer.h"
#include "gui/tools/clipboard_viewer.h"
#include "gui/widgets/text_tools.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {
const QString kKeyTitle = QStringLiteral("Clé de cryptage aux choix de l'utilisateur");
// The two sentences stand on two lines of the input box.
const QString kKeyPrompt =
    QStringLiteral("Saisir une clé composée de chiffres et de lettres uniquement, sans espace. ex:PontDuGard1985")
    + u'\n' + QStringLiteral("Attention :Prenez note de cette clé qui vous sera indispensable pour décrypter !");
}  // namespace

FFrance9::FFrance9(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FFrance9"), QStringLiteral("Fiche confidentielle"));

    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Text2"));
    m_path->setAccessibleName(QStringLiteral("Fichier de la note"));
    m_path->setReadOnly(true);
    m_path->setFocusPolicy(Qt::NoFocus);

    m_summary = new QPlainTextEdit(this);
    m_summary->setObjectName(QStringLiteral("Text5"));
    m_summary->setAccessibleName(QStringLiteral("Fiche"));
    m_summary->setReadOnly(true);
    m_summary->setFocusPolicy(Qt::NoFocus);
    m_summary->setFixedHeight(QFontMetrics(m_summary->font()).lineSpacing() * 6 + 12);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("Note confidentielle"));
    m_text->setTabChangesFocus(true);

    m_wait = new QLabel(QStringLiteral("Patientez !"), this);
    m_wait->setObjectName(QStringLiteral("Text4"));
    m_wait->setAlignment(Qt::AlignCenter);
    m_wait->setStyleSheet(QStringLiteral("font-weight: bold; color: #b00000;"));
    m_wait->hide();

    connect(addButton("Command1", QStringLiteral("Texte en minuscules"),
                      QStringLiteral("La sélection sera mise en minuscules")),
            &QPushButton::clicked, this, &FFrance9::toLowerCase);
    connect(addButton("Command2", QStringLiteral("Texte en majuscules"),
                      QStringLiteral("La sélection sera mise en majuscules")),
            &QPushButton::clicked, this, &FFrance9::toUpperCase);
    connect(addButton("Command4", QStringLiteral("Sélectionner tout")), &QPushButton::clicked, this,
            &FFrance9::selectAll);
    connect(addButton("Command5", QStringLiteral("Effacer le texte")), &QPushButton::clicked, this,
            &FFrance9::clearText);
    connect(addButton("Command6", QStringLiteral("Euros-->Francs")), &QPushButton::clicked, this,
            &FFrance9::eurosToFrancs);
    connect(addButton("Command9", QStringLiteral("Francs-->Euros")), &QPushButton::clicked, this,
            &FFrance9::francsToEuros);
    connect(addButton("Command8", QStringLiteral("Presse-papiers")), &QPushButton::clicked, this,
            &FFrance9::showClipboard);
    connect(addButton("Command10", QStringLiteral("Imprimer")), &QPushButton::clicked, this, &FFrance9::print);
    connect(addButton("Command3", QStringLiteral("Crypter/Décrypter")), &QPushButton::clicked, this,
            &FFrance9::cipher);

    auto* buttons = new QGridLayout;
    for (int i = 0; i < m_buttons.size(); ++i)
        buttons->addWidget(m_buttons[i], i / 5, i % 5);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_path);
    layout->addWidget(m_summary);
    layout->addWidget(m_wait);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);

    setTabOrder(m_text, m_buttons.first());
    for (int i = 1; i < m_buttons.size(); ++i)
        setTabOrder(m_buttons[i - 1], m_buttons[i]);
    resize(640, 520);
    placeOnScreen(this, 12500);
    m_text->setFocus();
}

QPushButton* FFrance9::addButton(const char* name, const QString& caption, const QString& tip)
{
    m_buttons.append(toolButton(this, name, caption, tip));
    return m_buttons.last();
}

void FFrance9::openNote(const QString& path, const QString& summary)
{
    m_path->setText(path);
    m_summary->setPlainText(summary);
    setNote(path.isEmpty() ? QString() : tb::loadNote(path));
    m_text->setFocus();
}

QString FFrance9::note() const
{
    // Raw text: a plain-text export would turn no-break spaces into blanks.
    return tb::noteFromDisplay(m_text->document()->toRawText());
}

void FFrance9::setNote(const QString& note)
{
    m_text->setPlainText(tb::noteForDisplay(note));
}

void FFrance9::changeCase(bool upper)
{
    changeSelectionCase(m_text, upper);
}

void FFrance9::toLowerCase() { changeCase(false); }
void FFrance9::toUpperCase() { changeCase(true); }

void FFrance9::selectAll()
{
    m_text->selectAll();
    m_text->setFocus();
}

void FFrance9::clearText()
{
    m_text->clear();
    m_text->setFocus();
}

void FFrance9::eurosToFrancs()
{
    // The note itself is left as it is: only a message.
    const QString selected = m_text->textCursor().selectedText();
    m_ctx.dialogs.message(selected + QStringLiteral("  Euros = ") + tb::EuroFF(tb::amountValue(selected)));
}

void FFrance9::francsToEuros()
{
    const QString selected = m_text->textCursor().selectedText();
    m_ctx.dialogs.message(selected + QStringLiteral("  Frs = ") + tb::FFeuro(tb::amountValue(selected)));
}

void FFrance9::showClipboard()
{
    // A child of this window, so the modal editor does not block it.
    if (!m_clipboard)
        m_clipboard = new ClipboardViewer(this);
    m_ctx.dialogs.showModeless(m_clipboard);
}

void FFrance9::print()
{
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<tb::ListPrintStyle> chosen = choosePrintStyle(m_ctx.dialogs, printer, m_text->font(), true);
    if (!chosen)
        return;
    const tb::NotePrintStyle style{chosen->font, chosen->color};
    // The note on screen takes the chosen colour and font name too.
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Text, style.color);
    m_text->setPalette(palette);
    QFont screenFont = m_text->font();
    screenFont.setFamily(style.font.family());
    m_text->setFont(screenFont);

    const QString note = m_text->document()->toRawText();
    const auto draw = [&](QPrinter& onto) { tb::printNotePages(onto, note, style, m_text->width()); };
    if (!m_ctx.dialogs.previewPrint(printer, draw))
        return;
    m_ctx.dialogs.setBusy(true);
    draw(printer);
    m_ctx.dialogs.setBusy(false);
}

void FFrance9::cipher()
{
    const std::optional<QString> key =
        m_ctx.dialogs.input(kKeyPrompt, kKeyTitle, QStringLiteral("PontDuGard1985"));
    if (!key || key->isEmpty())
        return;
    m_ctx.dialogs.setBusy(true);
    m_wait->show();
    m_wait->repaint();
    const std::optional<QString> result = tb::cipherNote(note(), *key);
    m_wait->hide();
    m_ctx.dialogs.setBusy(false);
    if (!result) {
        m_ctx.dialogs.message(QStringLiteral(" La clé ne contient aucun caractère utilisable !"));
        m_text->setFocus();
        return;
    }
    setNote(*result);
    m_text->setFocus();
}

void FFrance9::closeEvent(QCloseEvent* event)
{
    const QString text = note();
    // An empty note is never written: the file keeps what it held.
    if (text.isEmpty() || m_path->text().isEmpty()) {
        event->accept();
        return;
    }
    const QMessageBox::StandardButton answer = m_ctx.dialogs.question(
        QStringLiteral("Voulez-vous enregistrer le fichier ") + m_path->text() + QStringLiteral(" ?"),
        QStringLiteral("Attention !"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes, QMessageBox::NoIcon);
    bool stay = answer == QMessageBox::Cancel;
    if (answer == QMessageBox::Yes) {
        if (tb::Status saved = tb::saveNote(m_path->text(), text); !saved) {
            // The note stays on screen: nothing typed is lost.
            m_ctx.dialogs.showError(saved.error());
            stay = true;
        }
    }
    if (stay) {
        setProperty(kClosedProperty, false);
        event->ignore();
        m_text->setFocus();
        return;
    }
    event->accept();
}
