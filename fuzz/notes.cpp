// The confidential note ("F12.txt"): loaded, shown in the text box and taken
// back (every byte survives), deciphered with a key.
#include "core/tools/note_cipher.h"
#include "core/tools/note_text.h"
#include "fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto [key, note] = fuzz::split(fuzz::bytesOf(data, size));
    const QString loaded = tb::loadNote(fuzz::put(QStringLiteral("F1.txt"), note));
    if (tb::noteFromDisplay(tb::noteForDisplay(loaded)) != loaded)
        std::abort();
    (void)tb::cipherNote(loaded, QString::fromLatin1(key));
    (void)tb::cipherBytes(note, tb::noteKeyBytes(QString::fromLatin1(key)));
    return 0;
}
