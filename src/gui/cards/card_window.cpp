#include "gui/cards/card_window.h"

#include "gui/app/dialogs.h"
#include "gui/app/main_window.h"
#include "gui/app/windows.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/base/value_files.h"
#include "core/cards/card_fields.h"
#include "gui/widgets/card_form.h"
#include "core/cards/card_store.h"
#include "core/lists/card_lists.h"

#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kPhotoDelayMs = 4000;

template <typename Container>
QAction* addEntry(Container* container, QAction*& member, const char* name, const QString& caption)
{
    member = container->addAction(caption);
    member->setObjectName(QLatin1String(name));
    return member;
}

template <typename Container>
QMenu* addSubmenu(Container* container, QMenu*& member, const char* name, const QString& caption)
{
    member = container->addMenu(caption);
    member->setObjectName(QLatin1String(name));
    member->menuAction()->setObjectName(QLatin1String(name));
    return member;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    b->setAutoDefault(false);
    return b;
}

// "NBFiches.dat" only ever holds a count, possibly after one blank.
bool isCountText(const QString& text)
{
    static const QRegularExpression count(QStringLiteral("^ ?\\d+$"));
    return count.match(text).hasMatch();
}
}  // namespace

FFrance4::FFrance4(AppContext& ctx, QWidget* parent)
    : CardWindowBase(ctx, parent, QStringLiteral("FFrance4"), QStringLiteral("Fiche"),
                     {6, QStringLiteral("List4"), QStringLiteral("Label13")})
{
    Label13 = m_form->markerCaption;
    List4 = m_form->communes;

    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setMinimumWidth(70);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Liste des fiches"));
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List1->setUniformItemSizes(true);
    List1->setMinimumWidth(QFontMetrics(List1->font()).horizontalAdvance(QString(31, u'M')) + 24);
    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setVisible(false);
    List3 = new QListWidget(this);
    List3->setObjectName(QStringLiteral("List3"));
    List3->setVisible(false);
    MemoFic = new QLabel(this);
    MemoFic->setObjectName(QStringLiteral("MemoFic"));
    MemoFic->setVisible(false);
    Label14 = new QLabel(QStringLiteral("O"), this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->setVisible(false);

    Command1 = makeButton(this, "Command1", QStringLiteral("Détail des recouvrements"));
    Command2 = makeButton(this, "Command2", QStringLiteral("Valider la modification"));
    Command3 = makeButton(this, "Command3", QStringLiteral("Fonction calcul de la dette"));
    Command4 = makeButton(this, "Command4", QStringLiteral("Fonction calcul des intérêts"));
    Command5 = makeButton(this, "Command5", QStringLiteral("Memento"));

    buildMenus();

    auto* header = new QHBoxLayout;
    header->addWidget(Label3);
    header->addStretch();
    header->addWidget(m_numberCaption);
    header->addWidget(Label2);
    header->addWidget(Label5);
    auto* body = new QHBoxLayout;
    body->addWidget(List1);
    body->addSpacing(8);
    body->addWidget(m_form, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Command2, Command3, Command1, Command4, Command5})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menuBar);
    outer->addLayout(header);
    outer->addLayout(body, 1);
    outer->addLayout(buttons);

    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling)
            moveTo(row);
    });
    connect(List2, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { selectNameRow(List2->row(item)); });
    connect(Command1, &QPushButton::clicked, this, &FFrance4::collectionsDetail);
    connect(Command2, &QPushButton::clicked, this, &FFrance4::validateChange);
    connect(Command3, &QPushButton::clicked, this, &FFrance4::calculateDebt);
    // Command4 and Command5 open the interest journal and the memento, which
    // come with the journals.
    connect(Picture1, &PhotoFrame::clicked, this, &FFrance4::loadPhoto);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kPhotoDelayMs);
    connect(Timer1, &QTimer::timeout, this, &FFrance4::firePhotoTimer);

    // Opening steps.
    placeCentred();
    QDir::setCurrent(m_ctx.values.programFolder());
    refreshSwatches();
    loadCaptions();
    loadPhoto();
    m_form->loadDepartments();
    Timer1->start();
}

void FFrance4::buildMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    addEntry(menuBar, Feuillexls, "Feuillexls", QStringLiteral("Feuille \"EXCEL\""));
    addEntry(menuBar, notesconf, "notesconf", QStringLiteral("Notes confidentielles"));
    addSubmenu(menuBar, documents, "documents", QStringLiteral("Documents annexes"));
    addEntry(documents, photo, "photo", QStringLiteral("Incorporer une photo"));

    addSubmenu(documents, doctxt1, "doctxt1", QStringLiteral("Document Texte n°1"));
    addSubmenu(doctxt1, VoirTxt1, "VoirTxt1", QStringLiteral("Voir"));
    addEntry(VoirTxt1, VoirTB1, "VoirTB1", QStringLiteral("Voir avec Tabulon"));
    addEntry(VoirTxt1, VoirTT1, "VoirTT1", QStringLiteral("Voir avec le logiciel de traitement de texte"));
    addEntry(doctxt1, RechTxt1, "RechTxt1", QStringLiteral("Rechercher"));

    addSubmenu(documents, DocTxt2, "DocTxt2", QStringLiteral("Document Texte n°2"));
    addSubmenu(DocTxt2, VoirTxt2, "VoirTxt2", QStringLiteral("Voir"));
    addEntry(VoirTxt2, VoirTB2, "VoirTB2", QStringLiteral("Voir avec Tabulon"));
    addEntry(VoirTxt2, VoirTT2, "VoirTT2", QStringLiteral("Voir avec le logiciel de traitement de texte"));
    addEntry(DocTxt2, RechTxt2, "RechTxt2", QStringLiteral("Rechercher"));

    addSubmenu(documents, DocScan1, "DocScan1", QStringLiteral("Document scanné n°1"));
    addSubmenu(DocScan1, VoirScan1, "VoirScan1", QStringLiteral("Voir"));
    addEntry(VoirScan1, VoirTB3, "VoirTB3", QStringLiteral("Voir avec Tabulon"));
    addEntry(VoirScan1, VoiTI1, "VoiTI1", QStringLiteral("Voir avec le logiciel de traitement d'image"));
    addEntry(DocScan1, RechScan1, "RechScan1", QStringLiteral("Rechercher"));
    addEntry(DocScan1, ScanDoc1, "ScanDoc1", QStringLiteral("Scanner le document n°1"));

    addSubmenu(documents, DocScan2, "DocScan2", QStringLiteral("Document scanné n°2"));
    addSubmenu(DocScan2, VoirScan2, "VoirScan2", QStringLiteral("Voir"));
    addEntry(VoirScan2, VoirTB4, "VoirTB4", QStringLiteral("Voir avec Tabulon"));
    addEntry(VoirScan2, VoiTI2, "VoiTI2", QStringLiteral("Voir avec le logiciel de traitement d'image"));
    addEntry(DocScan2, RechScan2, "RechScan2", QStringLiteral("Rechercher"));
    addEntry(DocScan2, ScanDoc2, "ScanDoc2", QStringLiteral("Scanner le document n°2"));

    addEntry(menuBar, Adresses, "Adresses", QStringLiteral("Adresse avec traitement de texte"));
    addEntry(menuBar, Courrier, "Courrier", QStringLiteral("Courrier électronique"));
    addEntry(menuBar, Supprimer, "Supprimer", QStringLiteral("Supprimer"));
    addSubmenu(menuBar, Archiver, "Archiver", QStringLiteral("Archiver"));
    addEntry(Archiver, ArchFfic, "ArchFfic", QStringLiteral("Archiver la fiche"));
    addEntry(Archiver, DesarchiFic, "DesarchiFic", QStringLiteral("Désarchiver la fiche"));
    addSubmenu(menuBar, Imprimer, "Imprimer", QStringLiteral("Imprimer"));
    addEntry(Imprimer, ImprimFic, "ImprimFic", QStringLiteral("Imprimer la fiche"));
    addEntry(Imprimer, ImprimTout, "ImprimTout", QStringLiteral("Imprimer toutes les fiches"));
}

void FFrance4::refreshSwatches()
{
    // The registry reaches this window only once it is registered.
    m_form->paintSwatchFromMarker();
    if (m_ctx.windows)
        m_ctx.windows->refreshSwatches();
}

void FFrance4::loadCaptions()
{
    m_form->loadCaptions();
}

void FFrance4::clearFields()
{
    m_form->clearFields();
}

void FFrance4::loadWorkingCopy()
{
    const CardRecord record =
        m_ctx.values.hasDatabase() && m_record >= 1 ? CardStore(m_ctx.values.Label2).read(m_record) : CardRecord();
    m_work = record.fields;
    armPhotoTimer();
}

void FFrance4::armPhotoTimer()
{
    // The photo follows a few seconds later, once the window has settled.
    Timer1->start(kPhotoDelayMs);
    Label14->setText(QStringLiteral("O"));
}

void FFrance4::putWorkingCopy()
{
    m_form->setTexts(m_work);
}

void FFrance4::showRecord(long long n)
{
    m_record = n;
    Label2->setText(tb::plainNumber(n));
    loadWorkingCopy();
    putWorkingCopy();
}

void FFrance4::storeWindow()
{
    const long long n = tb::numericInteger(Label2->text());
    if (n < 1 || !m_ctx.values.hasDatabase())
        return;
    CardStore(m_ctx.values.Label2).write(n, CardRecord::fromTexts(m_form->texts()));
    // The end state of a reload of every record up to n: the stored card as
    // working copy and all pins drawn, in a single pass.
    m_record = n;
    loadWorkingCopy();
    if (m_ctx.main)
        m_ctx.main->drawPins();
}

void FFrance4::rebuildNameLists()
{
    m_filling = true;
    List1->clear();
    List2->clear();
    List3->clear();
    if (m_ctx.values.hasDatabase()) {
        const CardStore store(m_ctx.values.Label2);
        const tb::ParallelLists lists = tb::buildNameList(store, tb::numericInteger(m_ctx.values.Label6));
        List1->addItems(lists.displayLines());
        List2->addItems(lists.numberEntries());
        List3->addItems(lists.sortLines());
    }
    m_filling = false;
}

void FFrance4::moveTo(int row)
{
    if (row < 0 || row >= List2->count())
        return;
    m_filling = true;
    List2->setCurrentRow(row);
    m_filling = false;
    refreshSwatches();
    storeWindow();
    const long long n = tb::numericInteger(List2->item(row)->text());
    showRecord(n);
    Label5->setText(tb::statusWord(Text1[0]->text()));
    m_form->clearPhoto();
}

void FFrance4::selectNameRow(int row)
{
    if (row < 0 || row >= List1->count())
        return;
    m_filling = true;
    List1->setCurrentRow(row);
    m_filling = false;
    moveTo(row);
}

int FFrance4::findNameRow(const QString& text) const
{
    int caseless = -1;
    for (int row = 0; row < List1->count(); ++row) {
        const QString line = List1->item(row)->text();
        if (line == text)
            return row;
        if (caseless < 0 && line.compare(text, Qt::CaseInsensitive) == 0)
            caseless = row;
    }
    return caseless;
}

void FFrance4::validateChange()
{
    if (tb::numericInteger(Label2->text()) < 1) {
        m_ctx.dialogs.message(
            QStringLiteral(" Vous ne pouvez pas modifier une fiche qui n'a pas été créée au préalable..."));
        return;
    }
    Text1[2]->setText(Text1[2]->text().toUpper());
    const int memo = List1->currentRow();
    MemoFic->setText(QString::number(memo));
    storeWindow();
    refreshSwatches();
    rebuildNameLists();
    if (List2->count() == 0)
        return;
    // The first card, then the remembered position. Storing the first card
    // on the way, as a click would, writes it back unchanged: skipped.
    m_filling = true;
    List2->setCurrentRow(0);
    m_filling = false;
    showRecord(tb::numericInteger(List2->item(0)->text()));
    if (memo < 0 || memo >= List1->count())
        return;
    m_filling = true;
    List1->setCurrentRow(memo);
    List2->setCurrentRow(memo);
    m_filling = false;
    showRecord(tb::numericInteger(List2->item(memo)->text()));
    Label5->setText(tb::statusWord(Text1[0]->text()));
    m_form->clearPhoto();
}

void FFrance4::calculateDebt()
{
    m_form->computeDebt(true);
    storeWindow();
}

void FFrance4::collectionsDetail()
{
    // The collections journal takes fields 18 to 20 from here once it exists.
    m_form->computeDebt(true);
}

void FFrance4::loadPhoto()
{
    m_form->loadCardPhoto(tb::numericInteger(Label2->text()));
}

void FFrance4::firePhotoTimer()
{
    if (Label14->text() == QLatin1String("O")) {
        loadPhoto();
        Label14->setText(QStringLiteral("F"));
    }
    Timer1->stop();
}

void FFrance4::closeEvent(QCloseEvent* event)
{
    // A count that is no number (the design's own caption before any
    // database) must not reach the database's count file.
    if (m_ctx.values.hasDatabase() && isCountText(m_ctx.values.Label6))
        tb::writeValueFile(m_ctx.values.dbFile(QStringLiteral("NBFiches.dat")), m_ctx.values.Label6);
    QWidget::closeEvent(event);
}
