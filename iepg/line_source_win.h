#pragma once
// The iEPG file as the line reader's byte source.

#include <memory>
#include <string>

#include "iepg/line_reader.h"

namespace brontel {

// Opens the file for reading with writing by others denied; null when it
// cannot be opened.
std::unique_ptr<ByteSource> OpenIepgFile(const std::wstring& path);

}  // namespace brontel
