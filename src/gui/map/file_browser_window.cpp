#include "gui/map/file_browser_window.h"

#include "gui/app/dialogs.h"
#include "core/cards/attachments.h"
#include "core/db/session.h"
#include "core/external/start_folders.h"
#include "gui/widgets/file_picker.h"
#include "core/map/preview_image.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Ffrance23::Ffrance23(AppContext& ctx, QWidget* parent)
    : BrowserWindowBase(ctx, parent, QStringLiteral("Ffrance23"), QStringLiteral("Rechercher"),
                        QStringLiteral("*.bmp;*.jpg;*.gif"), QStringLiteral("Enregistrer"))
{
    TextRech = new QPlainTextEdit(this);
    TextRech->setObjectName(QStringLiteral("TextRech"));
    TextRech->setReadOnly(true);
    TextRech->setAccessibleName(QStringLiteral("Aperçu du texte"));
    TextRech->setFixedWidth(FilePickerWidget::previewSize.width() + 2);
    TextRech->hide();
    m_picker->previewColumn()->insertWidget(1, TextRech, 1);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);

    auto* bottom = new QFormLayout;
    bottom->addRow(QStringLiteral("Dossier de départ :"), Label3);
    bottom->addRow(QStringLiteral("Nom de la copie :"), Label2);
    bottom->addRow(QStringLiteral("Copie :"), Text1);
    Text1->setAccessibleName(QStringLiteral("Copie"));
    m_layout->addLayout(bottom);

    connect(m_picker, &FilePickerWidget::fileClicked, this, &Ffrance23::onFileClicked);
    connect(Command1, &QPushButton::clicked, this, &Ffrance23::save);

    finishOpening(QSize(660, 460));
    Label3->setText(m_picker->folder());
}

void Ffrance23::prepare(const QString& pattern, bool textPreview, const QString& targetBase)
{
    m_picker->setPattern(pattern);
    m_textPreview = textPreview;
    m_picker->setPictureVisible(!textPreview);
    TextRech->setVisible(textPreview);
    // Where the last one of the kind came from, else where a user keeps such
    // files; never the program's own data.
    if (!m_picker->openFolder(m_lastFolder[textPreview]))
        m_picker->openFolder(textPreview ? tb::documentsFolder() : tb::picturesFolder());
    Label3->setText(m_picker->folder());
    Label2->setText(targetBase);
    Text1->clear();
    TextRech->clear();
    m_choiceOnly = false;
}

void Ffrance23::prepareChoice(const QString& pattern, const QString& targetBase)
{
    prepare(pattern, false, targetBase);
    m_choiceOnly = true;
}

void Ffrance23::onFileClicked(const QString& path)
{
    // The text is read only when it is shown, and at most a few megabytes.
    TextRech->setPlainText(m_textPreview ? tb::previewText(path) : QString());
    const tb::Database* db = m_ctx.session.database();
    Text1->setText(db ? db->attachmentPath(Label2->text(), path) : QString());
}

void Ffrance23::save()
{
    const QString target = Text1->text();
    if (target.isEmpty())
        return;
    const QString source = m_picker->chosenPath();
    // A photo or a scan must be a picture the card window can show.
    if (!m_textPreview) {
        if (const QString refusal = tb::pictureAttachmentRefusal(source); !refusal.isEmpty()) {
            m_ctx.dialogs.message(refusal);
            return;
        }
    }
    m_lastFolder[m_textPreview] = m_picker->folder();
    if (m_choiceOnly) {
        m_ctx.dialogs.beep();
        hide();
        emit pictureChosen(source);
        return;
    }
    if (!tb::existingAttachment(target).isEmpty()
        && m_ctx.dialogs.question(QStringLiteral(" Un document est déjà joint sous ce nom : le remplacer ?"),
                                  QStringLiteral("Tabulon"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes)
        return;
    if (tb::Status s = tb::attachFile(source, target); !s) {
        m_ctx.dialogs.showError(s.error());
        return;
    }
    m_ctx.dialogs.beep();
    hide();
}
