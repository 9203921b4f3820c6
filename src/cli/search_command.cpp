#include "cli/search_command.h"

#include "cli/cli.h"

namespace cli {

const Syntax& searchSyntax()
{
    static const Syntax syntax{2, {QStringLiteral("--by")}};
    return syntax;
}

const std::map<QString, tb::SearchField>& searchFields()
{
    static const std::map<QString, tb::SearchField> fields = {
        {QStringLiteral("nom"), tb::SearchField::Surname},   {QStringLiteral("cp"), tb::SearchField::PostalCode},
        {QStringLiteral("ville"), tb::SearchField::City},    {QStringLiteral("fixe"), tb::SearchField::Landline},
        {QStringLiteral("portable"), tb::SearchField::Mobile},
    };
    return fields;
}

int printSearch(const CardStore& store, long long count, tb::SearchField field, const QString& text)
{
    return printList(tb::searchCards(store, count, field, text));
}

}  // namespace cli
