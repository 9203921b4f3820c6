#include "map/file_browser_window.h"

#include "app/dialogs_ui.h"
#include "base/safe_write.h"
#include "map/file_picker_widget.h"
#include "map/preview_image.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Ffrance23::Ffrance23(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Ffrance23"));
    setWindowTitle(QStringLiteral("Rechercher"));

    m_picker = new FilePickerWidget(this);
    Drive1 = m_picker->Drive1;
    Dir1 = m_picker->Dir1;
    File1 = m_picker->File1;
    TxtChemin = m_picker->TxtChemin;
    Label1 = m_picker->Label1;
    Picture1 = m_picker->Picture1;
    Pctdim = m_picker->Pctdim;

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
    Command1 = new QPushButton(QStringLiteral("Enregistrer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("Enregistrer"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picker, 1);
    auto* bottom = new QFormLayout;
    bottom->addRow(QStringLiteral("Dossier de départ :"), Label3);
    bottom->addRow(QStringLiteral("Nom de la copie :"), Label2);
    bottom->addRow(QStringLiteral("Copie :"), Text1);
    Text1->setAccessibleName(QStringLiteral("Copie"));
    layout->addLayout(bottom);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);

    connect(m_picker, &FilePickerWidget::fileClicked, this, &Ffrance23::onFileClicked);
    connect(Command1, &QPushButton::clicked, this, &Ffrance23::save);

    m_picker->setPattern(QStringLiteral("*.bmp;*.jpg;*.gif"));
    QDir::setCurrent(m_ctx.values.Label11);
    m_picker->openFolder(m_ctx.values.Label11);
    Label3->setText(m_picker->folder());
    resize(660, 460);
    move((800 - width()) / 2, (600 - height()) / 2);
}

void Ffrance23::prepare(const QString& pattern, bool textPreview, const QString& targetBase)
{
    m_picker->setPattern(pattern);
    m_textPreview = textPreview;
    Picture1->setVisible(!textPreview);
    TextRech->setVisible(textPreview);
    Label2->setText(targetBase);
    Text1->clear();
    TextRech->clear();
}

bool Ffrance23::openFolder(const QString& folder)
{
    return m_picker->openFolder(folder);
}

void Ffrance23::clickFile(const QString& name)
{
    m_picker->clickFile(name);
}

void Ffrance23::onFileClicked(const QString& path)
{
    // The text is read only when it is shown, and at most a few megabytes.
    TextRech->setPlainText(m_textPreview ? tb::previewText(path) : QString());
    Text1->setText(m_ctx.values.Label2 + Label2->text() + path.right(4));
}

void Ffrance23::save()
{
    if (Text1->text().isEmpty())
        return;
    if (!tb::copyFileReplacing(Label1->text(), Text1->text())) {
        m_ctx.dialogs.message(QStringLiteral("Le fichier n'a pas pu être copié !"));
        return;
    }
    m_ctx.dialogs.beep();
    hide();
}
