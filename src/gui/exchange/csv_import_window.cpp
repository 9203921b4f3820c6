#include "gui/exchange/csv_import_window.h"

#include "gui/app/secondary_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString kNotTaken = QStringLiteral("(ne pas reprendre)");
}

FImportCsv::FImportCsv(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FImportCsv"), QStringLiteral("Importer un fichier CSV"));
    LabelFichier = new QLabel(this);
    LabelFichier->setObjectName(QStringLiteral("LabelFichier"));
    ComboEncodage = new QComboBox(this);
    ComboEncodage->setObjectName(QStringLiteral("ComboEncodage"));
    ComboEncodage->setAccessibleName(QStringLiteral("Encodage"));
    ComboEncodage->addItems({tb::encodingName(tb::CsvEncoding::Utf8), tb::encodingName(tb::CsvEncoding::Windows1252)});
    LabelSeparateur = new QLabel(this);
    LabelSeparateur->setObjectName(QStringLiteral("LabelSeparateur"));
    TableColonnes = new QTableWidget(0, 3, this);
    TableColonnes->setObjectName(QStringLiteral("TableColonnes"));
    TableColonnes->setAccessibleName(QStringLiteral("Colonnes du fichier"));
    TableColonnes->setHorizontalHeaderLabels(
        {QStringLiteral("Colonne du fichier"), QStringLiteral("Première ligne"), QStringLiteral("Champ de la fiche")});
    TableColonnes->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TableColonnes->verticalHeader()->hide();
    TableColonnes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CommandImporter = new QPushButton(QStringLiteral("Importer"), this);
    CommandImporter->setObjectName(QStringLiteral("CommandImporter"));
    CommandImporter->setAccessibleName(QStringLiteral("Importer"));
    pressedByReturn(CommandImporter);
    CommandAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    CommandAnnuler->setObjectName(QStringLiteral("CommandAnnuler"));
    CommandAnnuler->setAccessibleName(QStringLiteral("Annuler"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fichier :"), LabelFichier);
    form->addRow(QStringLiteral("Encodage :"), ComboEncodage);
    form->addRow(QStringLiteral("Séparateur :"), LabelSeparateur);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandImporter);
    buttons->addWidget(CommandAnnuler);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Vérifiez le champ de la fiche que remplit chaque colonne :"), this));
    layout->addWidget(TableColonnes);
    layout->addLayout(buttons);

    connect(ComboEncodage, &QComboBox::activated, this, [this] { parse(); });
    connect(CommandImporter, &QPushButton::clicked, this, [this] {
        m_accepted = true;
        hide();
    });
    connect(CommandAnnuler, &QPushButton::clicked, this, &QWidget::hide);
    resize(640, 480);
    placeOnScreen(this);
}

void FImportCsv::setFile(const QString& name, const QByteArray& bytes, const QStringList& captions)
{
    m_bytes = bytes;
    m_captions = captions;
    m_accepted = false;
    LabelFichier->setText(QFileInfo(name).fileName());
    ComboEncodage->setCurrentIndex(tb::guessEncoding(bytes) == tb::CsvEncoding::Utf8 ? 0 : 1);
    parse();
}

void FImportCsv::parse()
{
    tb::Result<tb::CsvTable> read = tb::readCsv(
        m_bytes, ComboEncodage->currentIndex() == 0 ? tb::CsvEncoding::Utf8 : tb::CsvEncoding::Windows1252, m_captions);
    m_error = read ? std::nullopt : std::optional<tb::Error>(read.error());
    m_table = read ? std::move(read).value() : tb::CsvTable{};
    static const std::map<QChar, QString> names = {
        {u',', QStringLiteral("virgule")}, {u';', QStringLiteral("point-virgule")}, {u'\t', QStringLiteral("tabulation")}};
    LabelSeparateur->setText(names.at(m_table.separator));
    const QList<int> matched = tb::matchColumns(m_table.header, m_captions);
    // The table deletes the choices of the last file later: they must not be found by their names meanwhile.
    for (QComboBox* old : TableColonnes->findChildren<QComboBox*>())
        old->setObjectName(QString());
    TableColonnes->setRowCount(int(m_table.header.size()));
    for (int i = 0; i < m_table.header.size(); ++i) {
        // A file without header rows shows its first contact beside "Colonne 1"...
        TableColonnes->setItem(i, 0, new QTableWidgetItem(m_table.header[i]));
        const QString first = m_table.rows.isEmpty() ? QString() : m_table.rows[0].value(i);
        TableColonnes->setItem(i, 1, new QTableWidgetItem(first));
        auto* field = new QComboBox;
        field->setObjectName(QStringLiteral("ComboColonne_%1").arg(i));
        field->setAccessibleName(QStringLiteral("Champ de la colonne ") + m_table.header[i]);
        field->addItem(kNotTaken, 0);
        for (tb::CardField k = tb::kFieldCivility; k <= tb::kFieldLast; ++k)
            field->addItem(m_captions.value(k - 2), k);
        field->setCurrentIndex(field->findData(matched.value(i)));
        TableColonnes->setCellWidget(i, 2, field);
    }
}

QList<int> FImportCsv::columns() const
{
    QList<int> out;
    for (int i = 0; i < TableColonnes->rowCount(); ++i) {
        const auto* field = qobject_cast<QComboBox*>(TableColonnes->cellWidget(i, 2));
        out << (field ? field->currentData().toInt() : 0);
    }
    return out;
}
