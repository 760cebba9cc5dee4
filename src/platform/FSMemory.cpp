#include "platform/FSMemory.h"

#include <malloc.h>

namespace platform {

void ReleaseFreeMemory() {
    malloc_trim(0);
}

}  // namespace platform
