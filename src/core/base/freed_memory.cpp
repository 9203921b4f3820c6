#include "core/base/freed_memory.h"

#include <malloc.h>

// Under a sanitizer the allocator is its own: glibc's pools were never set
// up, and trimming them (from two threads at once) crashes.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TB_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define TB_OWN_ALLOCATOR 1
#endif
#endif

namespace tb {

void returnFreedMemory()
{
#ifndef TB_OWN_ALLOCATOR
    ::malloc_trim(0);
#endif
}

}  // namespace tb
