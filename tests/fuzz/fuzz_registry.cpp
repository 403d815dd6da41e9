// Any bytes as the class store: it is read without failing badly, and what it writes back
// reads again as the same store.

#include "platform/Registry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const platform::registry::Classes first = platform::registry::Classes::Parse(text);
    const QByteArray written = first.Serialize();
    bool damaged = false;
    const platform::registry::Classes again = platform::registry::Classes::Parse(written, &damaged);
    if (damaged || again.Serialize() != written) std::abort();
    return 0;
}
