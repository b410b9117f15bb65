// The text of a record file as the readers take it: cp932, whatever the file was written in.
// Other programs write KIF, KI2 and CSA files in UTF-8 as well as in cp932; the rule below
// decides which one a text is, and a UTF-8 text is converted before any reader sees it.
#pragma once

#include <string>
#include <string_view>

#include "platform/byte_stream.h"

namespace shogi {

// The UTF-8 rule: a text is UTF-8 when it begins with the UTF-8 byte-order mark, or when it
// is valid UTF-8 and either its file name ends in ".kifu" or ".ki2u", or its first line is a
// "#" or "'" comment that declares "encoding=UTF-8", or it is not valid cp932; any other
// text is cp932 (a file that declares UTF-8 but was re-saved in cp932 among them).
[[nodiscard]] bool IsUtf8Text(std::string_view text, bool utf8_by_name);

// Whether a file name asks for UTF-8 (".kifu", ".ki2u", in any case).
[[nodiscard]] bool NameSaysUtf8(std::string_view path);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF).
[[nodiscard]] bool IsValidUtf8(std::string_view text);

// The cp932 form of a UTF-8 text without its byte-order mark; a character cp932 cannot
// represent becomes "?", so that one emoji in a comment does not lose the record.
std::string Utf8TextToCp932(std::string_view utf8);

// The whole text of `source` in cp932, decided by IsUtf8Text, served as a stream. The text
// stops after LineReader::kMaxInputBytes; the stream then reports a failure, as it does when
// `source` failed.
class Cp932TextStream final : public ByteStream {
 public:
  Cp932TextStream(ByteStream& source, bool utf8_by_name);
  std::size_t Read(char* buffer, std::size_t size) override;
  bool Failed() const override { return failed_; }

 private:
  std::string text_;
  std::size_t position_ = 0;
  bool failed_ = false;
};

}  // namespace shogi
