// What the C library's source files share: the directory handle and the copies
// of strings handed to the caller.
#pragma once

#include <string_view>

#include "tavrel/service.h"

struct tavrel_directory {
  tavrel::service::CheckSource source;
};

namespace tavrel::c_api {

// A malloc'd, NUL-terminated copy of UTF-8 text, which the caller frees with
// tavrel_free(); NULL when memory runs out.
char* NewCopy(std::string_view utf8);

}  // namespace tavrel::c_api
