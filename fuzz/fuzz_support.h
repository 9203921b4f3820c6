#pragma once
// What the fuzz targets share: a scratch folder where the input becomes the
// file a reader opens, and the Qt application some readers need.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Called once before the first input.
void setUp();
// The scratch folder, ending with "/".
QString folder();
// Writes bytes to name in the scratch folder; returns its path.
QString put(const QString& name, const QByteArray& bytes);
QByteArray bytesOf(const uint8_t* data, size_t size);
// The input cut in two at its first byte 0 (the second part empty without one).
std::pair<QByteArray, QByteArray> split(const QByteArray& input);

}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
