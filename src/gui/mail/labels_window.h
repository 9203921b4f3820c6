#pragma once
#include "gui/mail/address_print_window.h"

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// "Étiquettes": address labels on a sheet, from the label the user says.
class FEtiquettes : public AddressPrintWindow {
    Q_OBJECT
public:
    explicit FEtiquettes(AppContext& ctx, QWidget* parent = nullptr);

protected:
    QString problem() const override;
    void setPage(QPrinter& printer) const override;
    QString edgeReport(const QMarginsF& unprintable) const override;
    tb::Result<int> paint(QPrinter& printer, const std::vector<QStringList>& blocks) const override;

private:
    tb::LabelSheet sheet() const;
    void followSheet();

    QComboBox* m_sheets;      // Combo1
    QSpinBox* m_start;        // Text2
    QSpinBox* m_columns;      // the custom sheet's
    QSpinBox* m_rows;
    QDoubleSpinBox* m_size[6];  // width, height, left, top, gaps across and down
};
