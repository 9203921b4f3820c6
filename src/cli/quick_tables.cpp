// Run at build time: writes the tables tabulon-cli's own search runs on, made
// from the core itself (the code page, the French order, the record layout,
// the searches' fields), so that the plain C++ search cannot drift from it.
#include "cli/search_command.h"
#include "core/base/codepage.h"
#include "core/base/collation.h"
#include "core/cards/card_record.h"
#include "core/lists/card_list.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <string>

namespace {

QByteArray unitList(const std::u16string& units)
{
    QByteArray out;
    for (char16_t u : units)
        out += QByteArray::number(unsigned(u)) + ", ";
    return out;
}

QByteArray byteList(QByteArrayView bytes)
{
    QByteArray out;
    for (char b : bytes)
        out += QByteArray::number(unsigned(uchar(b))) + ", ";
    return out;
}

QByteArray fieldPlace(int field)
{
    return "{" + QByteArray::number(CardRecord::offset(field - 1)) + ", "
           + QByteArray::number(CardRecord::kWidths[size_t(field - 1)]) + "}";
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage : tabulon-quick-tables FICHIER.h\n", stderr);
        return 2;
    }
    QByteArray text =
        "// Made at build time by tabulon-quick-tables from the core's own rules.\n"
        "#pragma once\n\nnamespace cli::quick {\n\n";

    // Each byte's UTF-8 form, and whether a typed character stands for it.
    QByteArray utf8, typed;
    // Each byte's French primary key units; a byte whose key leaves the rest
    // to the collator has none and is marked.
    QByteArray units, starts, settled;
    int unitCount = 0;
    for (int b = 0; b < 256; ++b) {
        const QString c(tb::cp1252Char(uchar(b)));
        const tb::Utf8Char& u = tb::utf8OfCp1252()[size_t(b)];
        utf8 += "    {" + QByteArray::number(u.size) + ", {" + byteList(QByteArrayView(u.bytes, u.size)) + "}},\n";
        typed += tb::fitsCp1252(c) && tb::toCp1252(c) == QByteArray(1, char(b)) ? "1, " : "0, ";
        std::u16string key;
        const bool whole = tb::appendFrenchPrimaryKey(c, key);
        settled += whole ? "1, " : "0, ";
        starts += QByteArray::number(unitCount) + ", ";
        units += unitList(key);
        unitCount += int(key.size());
    }
    starts += QByteArray::number(unitCount);
    text += "struct Utf8 {\n    unsigned char size;\n    unsigned char bytes[3];\n};\n";
    text += "inline constexpr Utf8 kUtf8[256] = {\n" + utf8 + "};\n";
    text += "inline constexpr bool kTyped[256] = {" + typed + "};\n";
    text += "inline constexpr bool kSettled[256] = {" + settled + "};\n";
    text += "inline constexpr unsigned short kUnitStart[257] = {" + starts + "};\n";
    text += "inline constexpr char16_t kUnits[] = {" + units + "0};\n";
    // A sort line is the display, this text, then the card's number.
    const QString line = tb::sortLine(QString(), 0);
    text += "inline constexpr unsigned char kNumberLead[] = {" + byteList(tb::toCp1252(line.chopped(1))) + "};\n";

    text += "\nstruct Place {\n    int offset, width;\n};\n"
            "struct Field {\n    const char* name;\n    Place searched;\n    Place line[4];\n};\n"
            "inline constexpr Field kFields[] = {\n";
    for (const auto& [name, field] : cli::searchFields()) {
        const tb::SearchKind& kind = tb::searchKind(field);
        text += "    {\"" + name.toUtf8() + "\", " + fieldPlace(kind.recordField) + ", {";
        for (int f : kind.lineFields)
            text += fieldPlace(f) + ", ";
        text += "}},\n";
    }
    text += "};\n\n}  // namespace cli::quick\n";

    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        std::fprintf(stderr, "Impossible d'écrire %s\n", argv[1]);
        return 1;
    }
    return 0;
}
