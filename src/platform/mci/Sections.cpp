#include "platform/mci/Sections.h"

#include <mutex>

namespace platform::mci {

namespace {

std::mutex guard;

SectionReader& reader()
{
    static SectionReader current;
    return current;
}

}  // namespace

void SetSectionReader(SectionReader next)
{
    std::lock_guard lock(guard);
    reader() = std::move(next);
}

std::optional<FileSection> SectionOf(const std::string& path)
{
    SectionReader current;
    {
        std::lock_guard lock(guard);
        current = reader();
    }
    return current ? current(path) : std::nullopt;
}

}  // namespace platform::mci
