#pragma once
// The commands of tabulon-cli on the core alone: each returns the exit code
// (0 done, 1 failure with the French message on stderr, 2 usage error).
#include "core/base/error.h"
#include "core/lists/card_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace cli {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Standard output in UTF-8, written in large pieces (lists run to a million lines).
class Output {
public:
    ~Output() { flush(); }
    Output& operator<<(const QString& text);
    Output& operator<<(const char* text);
    void flush();

private:
    QByteArray m_buffer;
};

void printError(const QString& text);
// code, or kFailed with the message when the standard output could not be
// written in full (a full disk, a closed output).
int finished(int code);
// Prints the error's message; returns kFailed.
int failed(const tb::Error& error);
// Each line of the list as the list window shows it, a tab, the card number.
int printList(const tb::Result<tb::CardList>& list);

// args: the arguments after the program name. executableFolder: where the
// program's data files sit (the program folder by default).
int run(const QStringList& args, const QString& executableFolder);

// True when the command draws pages (fonts need the windowing layer, even offscreen).
bool drawsPages(const QStringList& args);

// check DB: the integrity report (never writes). programFolder resolves a map
// named without its folder.
int checkDatabase(const QString& folder, const QString& programFolder, Output& out);

}  // namespace cli
