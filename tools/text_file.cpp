#include "text_file.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace tavrel::tools {

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw ToolError("cannot open " + path);
  }
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    throw ToolError("cannot read " + path);
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    const std::size_t next = end == std::string::npos ? content.size() : end + 1;
    end = end == std::string::npos ? content.size() : end;
    if (end > start && content[end - 1] == '\r') {
      --end;
    }
    lines.push_back(content.substr(start, end - start));
    start = next;
  }
  return lines;
}

void WriteText(std::string_view text, const std::string& path) {
  if (path.empty()) {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    if (!std::cout) {
      throw ToolError("cannot write to standard output");
    }
    return;
  }
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    throw ToolError("cannot write " + path);
  }
}

std::string Where(const std::string& path, std::size_t lineIndex, std::string_view message) {
  return path + ":" + std::to_string(lineIndex + 1) + ": " + std::string(message);
}

std::string CppStringLiteral(std::string_view bytes) {
  std::string literal = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
      literal += '\\';
      literal += static_cast<char>('0' + (byte >> 6));
      literal += static_cast<char>('0' + ((byte >> 3) & 7));
      literal += static_cast<char>('0' + (byte & 7));
    } else {
      literal += c;
    }
  }
  return literal + "\"";
}

}  // namespace tavrel::tools
