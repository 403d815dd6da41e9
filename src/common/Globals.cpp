#include "common/Globals.h"

namespace common {

static Globals& instance()
{
    static Globals g;
    return g;
}

Globals& globals() { return instance(); }

void resetGlobals() { instance() = Globals{}; }

}  // namespace common
