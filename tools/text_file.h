// File handling shared by the build tools: whole-file reads split into lines,
// writes to a file or standard output, the one error type they report, and the
// string literals of the sources they generate.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::tools {

// A failure the tool reports as "<tool>: <message>" before exiting with 1.
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The lines of a file without their LF or CRLF ends; a final line end does not
// start another line. Throws ToolError when the file cannot be read.
std::vector<std::string> ReadLines(const std::string& path);

// Writes `text` to `path`, or to standard output when `path` is empty.
void WriteText(std::string_view text, const std::string& path);

// "<path>:<line number>: <message>", counting lines from 1.
std::string Where(const std::string& path, std::size_t lineIndex, std::string_view message);

// A C++ string literal of these bytes (Windows-1252 in the tables). Octal
// escapes end after three digits, so a following digit can never extend them.
std::string CppStringLiteral(std::string_view bytes);

}  // namespace tavrel::tools
