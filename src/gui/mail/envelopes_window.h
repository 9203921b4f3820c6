#pragma once
#include "gui/mail/address_print_window.h"

class QCheckBox;
class QComboBox;
class QLabel;

// "Enveloppes": one envelope a card, the sender at the top left if wanted.
class FEnveloppes : public AddressPrintWindow {
    Q_OBJECT
public:
    explicit FEnveloppes(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void setPage(QPrinter& printer) const override;
    QString edgeReport(const QMarginsF& unprintable) const override;
    tb::Result<int> paint(QPrinter& printer, const std::vector<QStringList>& blocks) const override;

private:
    const tb::Envelope& envelope() const;
    QStringList sender() const;

    QComboBox* m_sizes;   // Combo1
    QCheckBox* m_withSender;  // Check2
    QLabel* m_sender;     // Label1: the sender's lines as kept
};
