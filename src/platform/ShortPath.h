#pragma once
// Stands in for short (8.3) path names: a file's percent-encoded file:// URI holds no blank,
// keeps every byte of the path, and is what the media device opens.

#include <string>

namespace platform {

// The URI of an existing file, or of a path that stands for a part of one (see mci/Sections.h);
// "" when the path names neither.
std::string ShortPathName(const std::string& path);

// What the media device plays for a path: the file's URI, or for a path that stands for a part of
// a file, that part's URI; "" for neither.
std::string MediaUriOf(const std::string& path);

// The local path of a file:// URI, or the text itself when it is a plain path.
std::string LocalPathOf(const std::string& element);

}  // namespace platform
