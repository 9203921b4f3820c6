#include "gui/letters/letter_editor_window.h"

#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/db/session.h"
#include "core/letters/letter_merge.h"
#include "core/letters/letters.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/text_tools.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QVBoxLayout>

FLettres::FLettres(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FLettres"), QStringLiteral("Lettres types"));

    m_letters = new QListWidget(this);
    m_letters->setObjectName(QStringLiteral("List1"));
    m_letters->setAccessibleName(QStringLiteral("Lettres types"));
    m_letters->setMaximumWidth(200);

    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("Texte de la lettre"));
    m_text->setAcceptRichText(true);
    m_text->setTabChangesFocus(true);

    // The fields of the database in use, or of new databases.
    const tb::Database* db = m_ctx.session.database();
    const QStringList captions = db ? db->captions() : CardStore(m_ctx.session.programFolder()).readCaptions();
    m_fields = new QComboBox(this);
    m_fields->setObjectName(QStringLiteral("Combo1"));
    m_fields->setAccessibleName(QStringLiteral("Champ à insérer"));
    m_fields->addItems(tb::letterFieldNames(captions));
    auto* fieldLabel = new QLabel(QStringLiteral("Champ à &insérer :"), this);
    fieldLabel->setBuddy(m_fields);

    connect(addButton("Command1", QStringLiteral("Insérer le champ"), QStringLiteral("Le champ s'insère au curseur")),
            &QPushButton::clicked, this, &FLettres::insertField);
    connect(addButton("Command2", QStringLiteral("Texte en minuscules"),
                      QStringLiteral("La sélection sera mise en minuscules")),
            &QPushButton::clicked, this, [this] { changeSelectionCase(m_text, false); });
    connect(addButton("Command3", QStringLiteral("Texte en majuscules"),
                      QStringLiteral("La sélection sera mise en majuscules")),
            &QPushButton::clicked, this, [this] { changeSelectionCase(m_text, true); });
    connect(addButton("Command4", QStringLiteral("Gras")), &QPushButton::clicked, this, &FLettres::toggleWeight);
    connect(addButton("Command5", QStringLiteral("Italique")), &QPushButton::clicked, this, &FLettres::toggleItalic);
    connect(addButton("Command6", QStringLiteral("Sélectionner tout")), &QPushButton::clicked, this, [this] {
        m_text->selectAll();
        m_text->setFocus();
    });
    connect(addButton("Command7", QStringLiteral("Effacer le texte")), &QPushButton::clicked, this, [this] {
        m_text->clear();
        m_text->setFocus();
    });
    QPushButton* create = addButton("Command8", QStringLiteral("Nouvelle lettre"));
    QPushButton* remove = addButton("Command9", QStringLiteral("Supprimer la lettre"));
    QPushButton* store = addButton("Command10", QStringLiteral("Enregistrer"));
    connect(create, &QPushButton::clicked, this, &FLettres::newLetter);
    connect(remove, &QPushButton::clicked, this, &FLettres::removeLetter);
    connect(store, &QPushButton::clicked, this, &FLettres::save);
    connect(m_letters, &QListWidget::currentRowChanged, this, &FLettres::letterChosen);

    auto* insertRow = new QHBoxLayout;
    insertRow->addWidget(fieldLabel);
    insertRow->addWidget(m_fields, 1);
    insertRow->addWidget(m_buttons[0]);
    auto* hint = new QLabel(QStringLiteral("L'adresse de la fiche se place d'elle-même en haut à droite de la page, "
                                           "pour une enveloppe à fenêtre : la lettre commence sous elle."),
                            this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setWordWrap(true);
    auto* tools = new QGridLayout;
    for (int i = 1; i < 7; ++i)
        tools->addWidget(m_buttons[i], 0, i - 1);
    auto* files = new QHBoxLayout;
    files->addWidget(create);
    files->addWidget(remove);
    files->addStretch();
    files->addWidget(store);
    auto* right = new QVBoxLayout;
    right->addLayout(insertRow);
    right->addWidget(hint);
    right->addWidget(m_text, 1);
    right->addLayout(tools);
    auto* body = new QHBoxLayout;
    body->addWidget(m_letters);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(files);

    setTabOrder(m_letters, m_fields);
    setTabOrder(m_fields, m_buttons[0]);
    setTabOrder(m_buttons[0], m_text);
    setTabOrder(m_text, m_buttons[1]);
    for (int i = 2; i < m_buttons.size(); ++i)
        setTabOrder(m_buttons[i - 1], m_buttons[i]);
    resize(820, 560);
    placeOnScreen(this, 12500);
    fillLetters(QString());
}

QPushButton* FLettres::addButton(const char* name, const QString& caption, const QString& tip)
{
    m_buttons.append(toolButton(this, name, caption, tip));
    return m_buttons.last();
}

void FLettres::fillLetters(const QString& select)
{
    const QStringList names = tb::letterNames(m_ctx.session.programFolder());
    {
        const QSignalBlocker quiet(m_letters);
        m_letters->clear();
        m_letters->addItems(names);
    }
    const int row = std::max(0, int(names.indexOf(select)));
    if (names.isEmpty())
        showLetter(QString());
    else if (m_letters->currentRow() == row)
        letterChosen();
    else
        m_letters->setCurrentRow(row);
}

void FLettres::showLetter(const QString& name)
{
    m_current = name;
    QString html;
    if (!name.isEmpty()) {
        const tb::Result<QString> loaded = tb::loadLetter(m_ctx.session.programFolder(), name);
        if (!loaded)
            m_ctx.dialogs.showError(loaded.error());
        html = loaded ? *loaded : QString();
    }
    m_text->setHtml(html);
    m_text->document()->setModified(false);
    m_text->setEnabled(!name.isEmpty());
}

void FLettres::letterChosen()
{
    QListWidgetItem* item = m_letters->currentItem();
    const QString chosen = item ? item->text() : QString();
    if (chosen == m_current && !m_current.isEmpty())
        return;
    if (!keepOrDropChanges()) {
        // Back on the letter the user stays on.
        const QSignalBlocker quiet(m_letters);
        const QList<QListWidgetItem*> found = m_letters->findItems(m_current, Qt::MatchExactly);
        if (!found.isEmpty())
            m_letters->setCurrentItem(found.first());
        return;
    }
    showLetter(chosen);
}

bool FLettres::keepOrDropChanges()
{
    if (m_current.isEmpty() || !m_text->document()->isModified())
        return true;
    const QMessageBox::StandardButton answer = m_ctx.dialogs.question(
        QStringLiteral("Voulez-vous enregistrer la lettre « ") + m_current + QStringLiteral(" » ?"),
        QStringLiteral("Lettres types"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
        QMessageBox::Question);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || save();
}

bool FLettres::save()
{
    if (m_current.isEmpty())
        return true;
    if (tb::Status s = tb::saveLetter(m_ctx.session.programFolder(), m_current, m_text->toHtml()); !s) {
        // The letter stays on screen as typed.
        m_ctx.dialogs.showError(s.error());
        return false;
    }
    m_text->document()->setModified(false);
    return true;
}

void FLettres::insertField()
{
    if (m_current.isEmpty())
        return;
    m_text->textCursor().insertText(tb::letterFieldMark(m_fields->currentText()));
    m_text->setFocus();
}

void FLettres::newLetter()
{
    if (!keepOrDropChanges())
        return;
    const std::optional<QString> typed =
        m_ctx.dialogs.input(QStringLiteral("Nom de la nouvelle lettre :"), QStringLiteral("Lettres types"), QString());
    if (!typed)
        return;
    const QString name = typed->trimmed();
    if (tb::letterNames(m_ctx.session.programFolder()).contains(name, Qt::CaseInsensitive)) {
        m_ctx.dialogs.message(QStringLiteral("La lettre « ") + name + QStringLiteral(" » existe déjà."));
        return;
    }
    if (tb::Status s = tb::saveLetter(m_ctx.session.programFolder(), name, QString()); !s) {
        m_ctx.dialogs.showError(s.error());
        return;
    }
    m_current.clear();
    fillLetters(name);
    m_text->setFocus();
}

void FLettres::removeLetter()
{
    if (m_current.isEmpty())
        return;
    const QMessageBox::StandardButton answer = m_ctx.dialogs.question(
        QStringLiteral("Souhaitez-vous SUPPRIMER la lettre « ") + m_current + QStringLiteral(" » ?"),
        QStringLiteral("Lettres types"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Critical);
    if (answer != QMessageBox::Yes)
        return;
    if (tb::Status s = tb::removeLetter(m_ctx.session.programFolder(), m_current); !s) {
        m_ctx.dialogs.showError(s.error());
        return;
    }
    m_current.clear();
    fillLetters(QString());
}

void FLettres::toggleWeight()
{
    m_text->setFontWeight(m_text->fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
    m_text->setFocus();
}

void FLettres::toggleItalic()
{
    m_text->setFontItalic(!m_text->fontItalic());
    m_text->setFocus();
}

void FLettres::closeEvent(QCloseEvent* event)
{
    if (!keepOrDropChanges()) {
        setProperty(kClosedProperty, false);
        event->ignore();
        m_text->setFocus();
        return;
    }
    event->accept();
}
