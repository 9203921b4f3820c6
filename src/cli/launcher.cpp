// tabulon-cli itself: a plain C++ program that loads nothing of Qt. It counts
// the cards when the count needs no correction and runs the searches it can
// settle alone; it hands any other search to the program that runs it on the
// records alone (no Qt Gui), and every other command, and every count it
// cannot be sure of, to the full command set.
#include "cli/hand_over.h"
#include "cli/quick_search.h"
#include "core/db/count_file.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// The full command set reads its arguments as UTF-8 and takes a ".." out of a
// path by its text: a folder it might name otherwise is left to it, so that
// both always open the same files.
bool isValidUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t more = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c < 0x80)
            more = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else
            return false;
        for (size_t k = 1; k <= more; ++k) {
            if (i + k >= s.size())
                return false;
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF))
                return false;
        }
        i += more + 1;
    }
    return true;
}

bool isPlainFolder(std::string_view folder)
{
    if (folder.empty() || folder[0] == '-' || !isValidUtf8(folder))
        return false;
    for (size_t start = 0; start <= folder.size();) {
        size_t end = folder.find('/', start);
        if (end == std::string_view::npos)
            end = folder.size();
        if (folder.substr(start, end - start) == "..")
            return false;
        start = end + 1;
    }
    return true;
}

// search FOLDER --by FIELD TEXT, the option anywhere, as the full command set
// reads it: the search's output when tabulon-cli can settle it alone.
std::optional<std::string> quickSearchOf(int argc, char* argv[])
{
    const char* positional[2] = {};
    const char* field = nullptr;
    int found = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--by") == 0 && !field && i + 1 < argc)
            field = argv[++i];
        else if (std::strncmp(argv[i], "--", 2) == 0 || found == 2)
            return std::nullopt;
        else
            positional[found++] = argv[i];
    }
    if (!field || found != 2 || !isPlainFolder(positional[0]) || !isValidUtf8(positional[1]))
        return std::nullopt;
    const std::string folder = std::string(positional[0]) + '/';
    const std::optional<long long> count = tb::exactCount(folder);
    return count ? cli::quickSearch(folder, *count, field, positional[1]) : std::nullopt;
}

// Writes text on the standard output. An output that cannot be written is
// left to the full commands, which say why.
bool printed(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    std::clearerr(stdout);
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "count") == 0 && isPlainFolder(argv[2])) {
        if (const std::optional<long long> count = tb::exactCount(std::string(argv[2]) + '/')) {
            if (printed(std::to_string(*count) + " fiche(s)\n"))
                return 0;
        }
    }
    if (argc == 6 && std::strcmp(argv[1], "search") == 0) {
        if (const std::optional<std::string> lines = quickSearchOf(argc, argv)) {
            if (printed(*lines))
                return 0;
        }
    }
    cli::markCaller();
    return cli::handOver(std::strcmp(argc > 1 ? argv[1] : "", "search") == 0 ? cli::kSearchCommands
                                                                              : cli::kFullCommands,
                         argv);
}
