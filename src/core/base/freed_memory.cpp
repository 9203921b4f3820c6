#include "core/base/freed_memory.h"

#include <malloc.h>

namespace tb {

void returnFreedMemory()
{
    ::malloc_trim(0);
}

}  // namespace tb
