#pragma once
// A command line as the commands read it.
#include <QString>
#include <QStringList>
#include <map>

namespace cli {

// A command's positional arguments, its "--name value" options and its
// options without value, in the order given.
struct Arguments {
    QStringList positional;
    std::map<QString, QString> options;
    QStringList flags;
    QString executableFolder;
};

// What a command takes on its command line.
struct Syntax {
    int arguments;          // positional arguments; kOneOrMore for a list of words
    QStringList options;    // each followed by its value
    QStringList flags = {}; // without value
};
constexpr int kOneOrMore = -1;

// Returns an empty text, or what is wrong with the arguments.
QString parse(const QStringList& args, const Syntax& syntax, Arguments* out);

}  // namespace cli
