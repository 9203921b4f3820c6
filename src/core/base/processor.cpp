#include "core/base/processor.h"

namespace tb {

const ProcessorFeatures& processor()
{
    static const ProcessorFeatures features = [] {
        ProcessorFeatures f;
#if defined(__x86_64__)
        // Asked before any other constructor may have done so.
        __builtin_cpu_init();
        f.avx2 = __builtin_cpu_supports("avx2");
        f.avx512Bytes = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi2");
#endif
        return f;
    }();
    return features;
}

}  // namespace tb
