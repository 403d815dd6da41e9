#include "platform/ShortPath.h"
#include "platform/gst/MediaFile.h"
#include "platform/mci/Sections.h"

#include <glib.h>
#include <sys/stat.h>

namespace platform {

namespace {

std::string takeString(gchar* text)
{
    if (!text) return {};
    std::string out(text);
    g_free(text);
    return out;
}

}  // namespace

std::string ShortPathName(const std::string& path)
{
    struct stat st { };
    if (path.empty()) return {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists ? S_ISDIR(st.st_mode) : !mci::SectionOf(path)) return {};
    if (!g_path_is_absolute(path.c_str())) {
        const std::string absolute = takeString(g_canonicalize_filename(path.c_str(), nullptr));
        return takeString(g_filename_to_uri(absolute.c_str(), nullptr, nullptr));
    }
    return takeString(g_filename_to_uri(path.c_str(), nullptr, nullptr));
}

std::string MediaUriOf(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0) return ShortPathName(path);
    const auto section = mci::SectionOf(path);
    const std::string file = section ? ShortPathName(section->file) : std::string();
    return file.empty() ? file : gst::SectionUri(file, section->startFrame, section->endFrame);
}

std::string LocalPathOf(const std::string& element)
{
    if (element.rfind("file:", 0) != 0) return element;
    return takeString(g_filename_from_uri(element.c_str(), nullptr, nullptr));
}

}  // namespace platform
