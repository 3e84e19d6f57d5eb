// Text of the host's scenes and object files as UTF-8.
//
// The host names items, objects and files in the Windows code page
// (Windows-1252), byte for byte, and shows them so. JSON, glTF and web pages
// need UTF-8: everything that writes such a name there converts it here,
// once, as the host would show it. ASCII stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace plof::host {

// `text` read as Windows-1252, written as UTF-8. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control
// characters of the same number, as Windows converts them.
std::string utf8FromCodePage(std::string_view text);

}  // namespace plof::host
