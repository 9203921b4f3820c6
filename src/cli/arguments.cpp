#include "cli/arguments.h"

namespace cli {

QString parse(const QStringList& args, const Syntax& syntax, Arguments* out)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            out->positional.append(a);
        } else if (syntax.flags.contains(a)) {
            out->flags.append(a);
        } else if (!syntax.options.contains(a)) {
            return QStringLiteral("option inconnue : ") + a;
        } else if (i + 1 >= args.size()) {
            return QStringLiteral("valeur manquante après ") + a;
        } else if (out->options.count(a)) {
            return QStringLiteral("option donnée deux fois : ") + a;
        } else {
            out->options[a] = args[++i];
        }
    }
    return {};
}

}  // namespace cli
