#pragma once
// What the processor the program runs on can do, asked once: the wide paths
// of the search index and of the map are chosen by it.

namespace tb {

struct ProcessorFeatures {
    bool avx2 = false;
    bool avx512Bytes = false;  // AVX-512 BW and VBMI2: bytes classed, compressed 64 at a time
};

// Safe to call from the constructors of other statics.
const ProcessorFeatures& processor();

}  // namespace tb
