#include "cli/quick_search.h"

#include "cli/quick_tables.h"
#include "core/db/count_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace cli {
namespace {

using namespace quick;

const Field* fieldNamed(std::string_view name)
{
    for (const Field& f : kFields)
        if (name == f.name)
            return &f;
    return nullptr;
}

// The code page's bytes of a UTF-8 text, when each character has one.
std::optional<std::string> codePageBytes(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        int found = -1;
        for (int b = 0; b < 256 && found < 0; ++b) {
            const Utf8& u = kUtf8[b];
            if (kTyped[b] && u.size <= text.size() - i && std::memcmp(text.data() + i, u.bytes, u.size) == 0)
                found = b;
        }
        if (found < 0)
            return std::nullopt;
        out += char(found);
        i += kUtf8[found].size;
    }
    return out;
}

struct Line {
    long long number;
    std::string display;  // code-page bytes
};

// Appends the primary key units of bytes; false when one needs the collator.
bool appendUnits(std::string_view bytes, std::u16string& key)
{
    for (unsigned char b : bytes) {
        if (!kSettled[b])
            return false;
        key.append(kUnits + kUnitStart[b], kUnits + kUnitStart[b + 1]);
    }
    return true;
}

}  // namespace

std::optional<std::string> quickSearch(const std::string& folder, long long count, std::string_view fieldName,
                                       std::string_view text)
{
    const Field* field = fieldNamed(fieldName);
    const std::optional<std::string> wanted = field ? codePageBytes(text) : std::nullopt;
    if (!wanted || wanted->size() > size_t(field->searched.width))
        return std::nullopt;

    std::vector<Line> lines;
    const bool read = tb::readRecords(folder + tb::kRecordFileName, 1, count, [&](long long n, const char* record) {
        if (std::memcmp(record + field->searched.offset, wanted->data(), wanted->size()) != 0)
            return;
        Line line{n, {}};
        for (const Place& p : field->line) {
            if (!line.display.empty())
                line.display += ' ';
            line.display.append(record + p.offset, size_t(p.width));
        }
        lines.push_back(std::move(line));
    });
    if (!read)
        return std::nullopt;

    // The French order of the sort lines: with the card's number in every
    // key, no two keys are equal, and the table settles them all.
    std::vector<std::u16string> keys(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string number = std::to_string(lines[i].number);
        if (!appendUnits(lines[i].display, keys[i])
            || !appendUnits({reinterpret_cast<const char*>(kNumberLead), sizeof kNumberLead}, keys[i])
            || !appendUnits(number, keys[i]))
            return std::nullopt;
    }
    std::vector<size_t> order(lines.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    for (size_t k = 1; k < order.size(); ++k)
        if (keys[order[k - 1]] == keys[order[k]])
            return std::nullopt;

    std::string out;
    for (size_t i : order) {
        for (unsigned char b : lines[i].display)
            out.append(reinterpret_cast<const char*>(kUtf8[b].bytes), kUtf8[b].size);
        out += '\t';
        out += std::to_string(lines[i].number);
        out += '\n';
    }
    return out;
}

}  // namespace cli
