#include "world/FSRandom.h"

CFSRandom& WorldRandom() {
    static CFSRandom random;
    return random;
}
