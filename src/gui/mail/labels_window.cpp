#include "gui/mail/labels_window.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QSpinBox>

namespace {

QSpinBox* countBox(QWidget* parent, const QString& name, int most)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(1, most);
    return box;
}

}  // namespace

FEtiquettes::FEtiquettes(AppContext& ctx, QWidget* parent)
    : AddressPrintWindow(ctx, parent, QStringLiteral("FEtiquettes"), QStringLiteral("Étiquettes"))
{
    m_sheets = new QComboBox(this);
    m_sheets->setObjectName(QStringLiteral("Combo1"));
    for (const tb::LabelSheet& s : tb::labelSheets())
        m_sheets->addItem(s.name, s.id);
    m_sheets->addItem(QStringLiteral("Personnalisé"), QString());
    m_start = countBox(this, QStringLiteral("Text2"), 1);
    m_columns = countBox(this, QStringLiteral("Colonnes"), 10);
    m_rows = countBox(this, QStringLiteral("Rangees"), 30);
    form()->addRow(QStringLiteral("&Planche"), m_sheets);
    form()->addRow(QStringLiteral("&Commencer à l'étiquette n°"), m_start);
    // The custom sheet's measures, two to a row.
    auto* custom = new QGroupBox(QStringLiteral("Planche personnalisée"), this);
    auto* grid = new QGridLayout(custom);
    const char* sizes[] = {"Largeur (mm)", "Hauteur (mm)", "Marge gauche (mm)", "Marge haute (mm)",
                           "Entre colonnes (mm)", "Entre rangées (mm)"};
    const double defaults[] = {63.5, 38.1, 7.21, 15.15, 2.54, 0};
    QList<std::pair<QString, QWidget*>> fields = {{QStringLiteral("Colonnes"), m_columns}, {QStringLiteral("Rangées"), m_rows}};
    for (int k = 0; k < 6; ++k) {
        m_size[k] = new QDoubleSpinBox(this);
        m_size[k]->setObjectName(QStringLiteral("Taille%1").arg(k + 1));
        m_size[k]->setRange(0, 297);
        m_size[k]->setDecimals(2);
        m_size[k]->setValue(defaults[k]);
        fields.append({QString::fromUtf8(sizes[k]), m_size[k]});
    }
    for (int k = 0; k < fields.size(); ++k) {
        auto* label = new QLabel(fields[k].first, custom);
        label->setBuddy(fields[k].second);
        fields[k].second->setAccessibleName(fields[k].first);
        grid->addWidget(label, k / 2, (k % 2) * 2);
        grid->addWidget(fields[k].second, k / 2, (k % 2) * 2 + 1);
    }
    form()->addRow(custom);
    m_columns->setValue(3);
    m_rows->setValue(7);
    m_sheets->setAccessibleName(QStringLiteral("Planche"));
    m_start->setAccessibleName(QStringLiteral("Commencer à l'étiquette n°"));
    connect(m_sheets, &QComboBox::currentIndexChanged, this, &FEtiquettes::followSheet);
    for (QSpinBox* box : {m_columns, m_rows})
        connect(box, &QSpinBox::valueChanged, this, &FEtiquettes::followSheet);
    finishLayout();
    followSheet();
}

tb::LabelSheet FEtiquettes::sheet() const
{
    if (const tb::LabelSheet* named = tb::labelSheetById(m_sheets->currentData().toString()))
        return *named;
    return tb::customLabelSheet(m_columns->value(), m_rows->value(), m_size[0]->value(), m_size[1]->value(),
                                m_size[2]->value(), m_size[3]->value(), m_size[4]->value(), m_size[5]->value());
}

void FEtiquettes::followSheet()
{
    const bool custom = !tb::labelSheetById(m_sheets->currentData().toString());
    for (QWidget* w : std::initializer_list<QWidget*>{m_columns, m_rows, m_size[0], m_size[1], m_size[2], m_size[3], m_size[4], m_size[5]})
        w->setEnabled(custom);
    m_start->setMaximum(std::max(1, sheet().perSheet()));
}

QString FEtiquettes::problem() const
{
    return tb::labelSheetProblem(sheet());
}

void FEtiquettes::setPage(QPrinter& printer) const
{
    tb::setLabelPage(printer);
}

QString FEtiquettes::edgeReport(const QMarginsF& unprintable) const
{
    return tb::labelEdgeReport(sheet(), unprintable);
}

tb::Result<int> FEtiquettes::paint(QPrinter& printer, const std::vector<QStringList>& blocks) const
{
    return tb::printLabels(printer, sheet(), m_start->value(), blocks);
}
