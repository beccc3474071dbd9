// The plant file reader: the devices of a plant, written as an INI-style text (docs/NXI.md
// describes the format; `nxi --help` summarises it).
//
// A section "[router N]", "[gpi N]" or "[info N]" starts device N; "key = value" lines
// give its sizes, names and initial state. Keys and kinds are compared without regard to
// case, blanks around names and values do not count, quotes around a whole value are
// removed, and lines beginning with ";" or "#" are comments.
#pragma once

#include <string>
#include <string_view>

#include "plant.h"

namespace velcrum::nxi {

// Adds the devices of the text to the plant. False at the first fault, with
// "FILE:LINE: what is wrong" in *error (FILE is `fileName`); the plant may then hold the
// devices before the faulty one.
bool ReadPlant(std::string_view text, std::string_view fileName, Plant* plant, std::string* error);

// The same for a file; a file that cannot be read is a fault too ("FILE: reason").
bool ReadPlantFile(const std::string& path, Plant* plant, std::string* error);

}  // namespace velcrum::nxi
