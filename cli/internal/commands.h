// The single-shot commands. Each prints to standard output and returns the exit
// status; operands are Windows-1252.
#pragma once

#include <string>

namespace tavrel::cli {

int RunCheck(const std::string& bankCode, const std::string& account);
int RunName(const std::string& bankCode);
int RunMethod(const std::string& key, const std::string& account, const std::string& bankCode);
int RunSearch(const std::string& text, bool json);

}  // namespace tavrel::cli
