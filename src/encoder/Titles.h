#pragma once
// The titles a rip is named and tagged by: the catalogue's for the disc, else its CD-Text.

#include "encoder/Ripper.h"

namespace encoder {

DiscTitles TitlesOfDisc(const std::string& source);

}  // namespace encoder
