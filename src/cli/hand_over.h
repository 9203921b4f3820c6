#pragma once
// How tabulon-cli's quick paths hand a command over to the program that runs
// it in full: beside them (a build folder) or in libexec/tabulon (installed).
// Plain C++: tabulon-cli loads nothing of Qt.

namespace cli {

// The program that runs every command.
inline constexpr char kFullCommands[] = "tabulon-cli-full";
// The search command on the records alone.
inline constexpr char kSearchCommands[] = "tabulon-cli-search";

// The variable that tells the programs handed over to tabulon-cli's folder.
inline constexpr char kCallerFolder[] = "TABULON_CLI_FOLDER";
// Sets it to this program's folder (tabulon-cli's own).
void markCaller();

// Runs program with the same arguments (argv[0] included) in place of this
// process. Returns only when it cannot be run: the exit code of a failure,
// its message said.
int handOver(const char* program, char* argv[]);

}  // namespace cli
