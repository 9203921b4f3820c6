#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

namespace fuzz {

namespace {
std::unique_ptr<QTemporaryDir> g_dir;
}

void setUp()
{
    if (g_dir)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    g_dir = std::make_unique<QTemporaryDir>();
}

QString folder()
{
    return g_dir->path() + u'/';
}

QString put(const QString& name, const QByteArray& bytes)
{
    const QString path = folder() + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

std::pair<QByteArray, QByteArray> split(const QByteArray& input)
{
    const qsizetype at = input.indexOf('\0');
    if (at < 0)
        return {input, QByteArray()};
    return {input.left(at), input.mid(at + 1)};
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::setUp();
    return 0;
}
