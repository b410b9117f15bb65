// The UTF-8 rule of the record readers and the conversion of a UTF-8 text to cp932.
#include "records/record_text.h"

#include <algorithm>
#include <cstring>

#include "platform/cp932.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()),
                    [](char a, char b) {
                      return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
                    });
}

// A comment line of KIF ("#KIF version=2.0 encoding=UTF-8") or CSA ("'CSA encoding=UTF-8")
// declares the encoding; no other first line does, so that a name cannot.
bool FirstLineDeclaresUtf8(std::string_view text) {
  if (text.empty() || (text[0] != '#' && text[0] != '\'')) return false;
  std::string line(text.substr(0, text.find('\n')));
  std::transform(line.begin(), line.end(), line.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return line.find("encoding=utf-8") != std::string::npos ||
         line.find("encoding=utf8") != std::string::npos;
}

// The length of the UTF-8 character at `i`, 0 when the bytes there are not one.
std::size_t Utf8CharLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  std::size_t n;
  unsigned min;
  unsigned code;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2, min = 0x80, code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3, min = 0x800, code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4, min = 0x10000, code = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = Utf8CharLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

bool NameSaysUtf8(std::string_view path) {
  return EndsWithNoCase(path, ".kifu") || EndsWithNoCase(path, ".ki2u");
}

bool IsUtf8Text(std::string_view text, bool utf8_by_name) {
  if (StartsWith(text, kByteOrderMark)) return true;
  if (!IsValidUtf8(text)) return false;  // a program re-saved the file in cp932
  if (utf8_by_name || FirstLineDeclaresUtf8(text)) return true;
  std::string ignored;
  return !Cp932ToUtf8(text, ignored);
}

std::string Utf8TextToCp932(std::string_view utf8) {
  if (StartsWith(utf8, kByteOrderMark)) utf8.remove_prefix(kByteOrderMark.size());
  std::string out;
  if (Utf8ToCp932(utf8, out)) return out;
  // Character by character: what cp932 lacks (or what is not UTF-8 at all) becomes "?".
  out.clear();
  std::string piece;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = std::max<std::size_t>(Utf8CharLength(utf8, i), 1);
    if (n > 1 && Utf8ToCp932(utf8.substr(i, n), piece)) {
      out += piece;
    } else {
      out += n == 1 && static_cast<unsigned char>(utf8[i]) < 0x80 ? utf8[i] : '?';
    }
    i += n;
  }
  return out;
}

Cp932TextStream::Cp932TextStream(ByteStream& source, bool utf8_by_name) {
  char buffer[16384];
  for (;;) {
    const std::size_t room = LineReader::kMaxInputBytes - text_.size();
    if (room == 0) {
      // Anything beyond the limit is not read: the text is cut, which is a failure.
      failed_ = source.Read(buffer, 1) > 0 || source.Failed();
      break;
    }
    const std::size_t n = source.Read(buffer, std::min(sizeof buffer, room));
    if (n == 0) {
      failed_ = source.Failed();
      break;
    }
    text_.append(buffer, n);
  }
  if (IsUtf8Text(text_, utf8_by_name)) text_ = Utf8TextToCp932(text_);
}

std::size_t Cp932TextStream::Read(char* buffer, std::size_t size) {
  const std::size_t n = std::min(size, text_.size() - position_);
  std::memcpy(buffer, text_.data() + position_, n);
  position_ += n;
  return n;
}

}  // namespace shogi
