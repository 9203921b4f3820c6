#include "core/cards/debt.h"

#include "core/base/masks.h"
#include "core/base/numeric.h"

namespace tb {

std::array<QString, 6> debtCalculation(const QString& field15, const QString& field16, const QString& field17,
                                       const QString& field19)
{
    const double a = amountValue(field15);
    const double b = amountValue(field16);
    const double c = amountValue(field17);
    const double d = amountValue(field19);
    const double total = a + b + c;
    return {pointForm(a), pointForm(b), pointForm(c), pointForm(total), pointForm(d), pointForm(total - d)};
}

}  // namespace tb
