// The files of the page, compiled in from http/page/ by embed_page.cmake.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavrel::http {

struct EmbeddedFile {
  std::string_view name;  // the file name under http/page/
  std::string_view content;
};

extern const EmbeddedFile kEmbeddedFiles[];
extern const std::size_t kEmbeddedFileCount;

}  // namespace tavrel::http
