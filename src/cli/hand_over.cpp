#include "cli/hand_over.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace cli {

namespace {

constexpr int kFailed = 1;

std::string ownFolder()
{
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "./";
    const std::string text(path, size_t(n));
    return text.substr(0, text.rfind('/') + 1);
}

}  // namespace

void markCaller()
{
    ::setenv(kCallerFolder, ownFolder().c_str(), 1);
}

int handOver(const char* program, char* argv[])
{
    const std::string folder = ownFolder();
    std::string path = folder + program;
    if (::access(path.c_str(), X_OK) != 0)
        path = folder + TABULON_INSTALLED_COMMANDS + program;
    ::execv(path.c_str(), argv);
    if (errno == ENOENT)
        std::fprintf(stderr, "Impossible de lancer %s : fichier introuvable\n", path.c_str());
    else
        std::fprintf(stderr, "Impossible de lancer %s (erreur système n° %d)\n", path.c_str(), errno);
    return kFailed;
}

}  // namespace cli
