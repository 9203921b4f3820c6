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

    // The matching lines' display bytes one after the other, all of one width.
    size_t width = std::size(field->line) - 1;
    for (const Place& p : field->line)
        width += size_t(p.width);
    std::string displays;
    std::vector<long long> numbers;
    const auto each = [&](long long first, const char* records, long long size) {
        for (long long k = 0; k < size; ++k) {
            const char* record = records + k * tb::kRecordSize;
            if (std::memcmp(record + field->searched.offset, wanted->data(), wanted->size()) != 0)
                continue;
            for (size_t f = 0; f < std::size(field->line); ++f) {
                if (f > 0)
                    displays += ' ';
                displays.append(record + field->line[f].offset, size_t(field->line[f].width));
            }
            numbers.push_back(first + k);
        }
    };
    const bool read = tb::readRecordBlocks(folder + tb::kRecordFileName, 1, count, each);
    if (!read)
        return std::nullopt;
    const auto display = [&](size_t i) { return std::string_view(displays).substr(i * width, width); };

    // The French order of the sort lines: with the card's number in every
    // key, no two keys are equal, and the table settles them all.
    std::u16string keys;
    std::vector<size_t> starts{0};
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (!appendUnits(display(i), keys)
            || !appendUnits({reinterpret_cast<const char*>(kNumberLead), sizeof kNumberLead}, keys)
            || !appendUnits(std::to_string(numbers[i]), keys))
            return std::nullopt;
        starts.push_back(keys.size());
    }
    const auto key = [&](size_t i) { return std::u16string_view(keys).substr(starts[i], starts[i + 1] - starts[i]); };
    std::vector<size_t> order(numbers.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
    for (size_t k = 1; k < order.size(); ++k)
        if (key(order[k - 1]) == key(order[k]))
            return std::nullopt;

    std::string out;
    for (size_t i : order) {
        for (unsigned char b : display(i))
            out.append(reinterpret_cast<const char*>(kUtf8[b].bytes), kUtf8[b].size);
        out += '\t';
        out += std::to_string(numbers[i]);
        out += '\n';
    }
    return out;
}

}  // namespace cli
