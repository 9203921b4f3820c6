#include "core/external/start_up.h"

#include "core/base/number_text.h"

#include <QStandardPaths>

namespace tb {

QString screenCheckMessage(int width, int height)
{
    if (width >= 800 && height >= 600)
        return {};
    return QStringLiteral("Il est souhaitable de choisir une résolution d'écran de 800 x 600, la résolution actuelle est ")
           + numberText(width) + QStringLiteral(" x") + numberText(height);
}

QStringList displaySettingsCommand()
{
    const QList<QStringList> candidates = {
        {QStringLiteral("gnome-control-center"), QStringLiteral("display")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_kscreen")},
        {QStringLiteral("xfce4-display-settings")},
        {QStringLiteral("lxrandr")},
        {QStringLiteral("arandr")},
    };
    for (const QStringList& c : candidates) {
        const QString found = QStandardPaths::findExecutable(c.first());
        if (!found.isEmpty()) {
            QStringList command = c;
            command[0] = found;
            return command;
        }
    }
    return {};
}

}  // namespace tb
