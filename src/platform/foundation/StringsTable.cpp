// String tables. The text format is read as CoreFoundation's old-style parser reads a strings
// file: the text is first brought to valid UTF-8, then entries are parsed over it.
#include "platform/foundation/StringsTable.h"

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"

namespace foundation {
namespace {

std::uint32_t unitAt(std::string_view b, std::size_t i, std::size_t width, bool bigEndian) {
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < width; ++k) {
    std::size_t at = bigEndian ? i + k : i + width - 1 - k;
    v = (v << 8) | static_cast<unsigned char>(b[at]);
  }
  return v;
}

// Text brought to UTF-8: all of it, or (not valid) what comes before the first fault.
struct Decoded {
  std::string text;
  bool valid = true;
};

Decoded stopped(Decoded& decoded) {
  decoded.valid = false;
  return std::move(decoded);
}

Decoded utf16ToUtf8(std::string_view b, bool bigEndian) {
  Decoded out;
  out.text.reserve(b.size());
  for (std::size_t i = 0; i < b.size(); i += 2) {
    if (i + 2 > b.size()) return stopped(out);
    char32_t u = unitAt(b, i, 2, bigEndian);
    if (unicode::isLowSurrogate(u)) return stopped(out);
    if (unicode::isHighSurrogate(u)) {
      char32_t low = i + 4 <= b.size() ? unitAt(b, i + 2, 2, bigEndian) : 0;
      if (!unicode::isLowSurrogate(low)) return stopped(out);
      u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    unicode::appendUtf8(out.text, u);
  }
  return out;
}

Decoded utf32ToUtf8(std::string_view b, bool bigEndian) {
  Decoded out;
  out.text.reserve(b.size() / 2);
  for (std::size_t i = 0; i < b.size(); i += 4) {
    if (i + 4 > b.size()) return stopped(out);
    char32_t c = unitAt(b, i, 4, bigEndian);
    if (c > 0x10FFFF || unicode::isSurrogate(c)) return stopped(out);
    unicode::appendUtf8(out.text, c);
  }
  return out;
}

Decoded utf8(std::string_view b) {
  std::size_t pos = 0;
  char32_t ignored;
  while (pos < b.size()) {
    if (static_cast<unsigned char>(b[pos]) < 0x80) {
      ++pos;  // ASCII runs are most of a table
    } else if (!unicode::decodeUtf8(b, pos, ignored)) {
      break;
    }
  }
  return {std::string(b.substr(0, pos)), pos == b.size()};
}

// The text in UTF-8, its byte-order mark removed.
Decoded decodeText(std::string_view b) {
  auto has = [&](std::string_view bom) { return b.substr(0, bom.size()) == bom; };
  using namespace std::string_view_literals;
  if (has("\xFF\xFE\x00\x00"sv)) return utf32ToUtf8(b.substr(4), false);
  if (has("\x00\x00\xFE\xFF"sv)) return utf32ToUtf8(b.substr(4), true);
  if (has("\xFF\xFE"sv)) return utf16ToUtf8(b.substr(2), false);
  if (has("\xFE\xFF"sv)) return utf16ToUtf8(b.substr(2), true);
  if (has("\xEF\xBB\xBF"sv)) b.remove_prefix(3);
  return utf8(b);
}

bool isTokenChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '/' || c == ':' || c == '.' || c == '-';
}

bool isOctal(char c) {
  return c >= '0' && c <= '7';
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the old text format over valid UTF-8.
class TextParser {
 public:
  // With `offsets`, records where each entry's key starts (for tools; lookups pass none).
  explicit TextParser(std::string_view text,
                      std::vector<std::pair<std::string, std::size_t>>* offsets = nullptr)
      : t_(text), offsets_(offsets) {}

  // Where parsing stopped: the first error, after parse() gave nothing.
  std::size_t stoppedAt() const { return p_; }

  std::optional<StringsTable::Entries> parse() {
    StringsTable::Entries entries;
    if (!skipSpace()) return std::nullopt;
    bool braced = at('{');
    if (braced) {
      ++p_;
      if (!skipSpace()) return std::nullopt;
    }
    while (p_ < t_.size() && !(braced && at('}'))) {
      const std::size_t keyStart = p_;
      auto key = string();
      if (!key || !skipSpace()) return std::nullopt;
      std::string value;
      if (at(';')) {
        value = *key;
      } else if (at('=')) {
        ++p_;
        if (!skipSpace()) return std::nullopt;
        auto v = string();
        if (!v || !skipSpace()) return std::nullopt;
        value = std::move(*v);
      } else {
        return std::nullopt;
      }
      if (!at(';')) return std::nullopt;
      ++p_;
      if (offsets_) offsets_->emplace_back(*key, keyStart);
      entries.insert_or_assign(std::move(*key), std::move(value));
      if (!skipSpace()) return std::nullopt;
    }
    if (braced) {
      if (!at('}')) return std::nullopt;
      ++p_;
      if (!skipSpace()) return std::nullopt;
    }
    if (p_ != t_.size()) return std::nullopt;
    return entries;
  }

 private:
  bool at(char c) const { return p_ < t_.size() && t_[p_] == c; }
  bool startsWith(std::string_view s) const { return t_.substr(p_, s.size()) == s; }

  // Length of the line or paragraph separator (U+2028, U+2029) at p, else 0.
  std::size_t unicodeSeparator() const {
    return startsWith("\xE2\x80\xA8") || startsWith("\xE2\x80\xA9") ? 3 : 0;
  }

  // Skips white space and comments; false at an unterminated block comment.
  bool skipSpace() {
    while (p_ < t_.size()) {
      char c = t_[p_];
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
        ++p_;
      } else if (std::size_t n = unicodeSeparator()) {
        p_ += n;
      } else if (startsWith("//")) {
        p_ += 2;
        while (p_ < t_.size() && t_[p_] != '\n' && t_[p_] != '\r' && unicodeSeparator() == 0) ++p_;
      } else if (startsWith("/*")) {
        std::size_t end = t_.find("*/", p_ + 2);
        if (end == std::string_view::npos) return false;  // stopped at the comment's start
        p_ = end + 2;
      } else {
        break;
      }
    }
    return true;
  }

  // A quoted string or an unquoted token; nothing at anything else.
  std::optional<std::string> string() {
    if (at('"') || at('\'')) return quoted();
    std::size_t start = p_;
    while (p_ < t_.size() && isTokenChar(t_[p_])) ++p_;
    if (p_ == start) return std::nullopt;
    return std::string(t_.substr(start, p_ - start));
  }

  std::optional<std::string> quoted() {
    const std::size_t start = p_;
    const char quote = t_[p_++];
    std::string out;
    unicode::Utf16Appender escaped(out);
    while (p_ < t_.size()) {
      std::size_t run = p_;
      while (p_ < t_.size() && t_[p_] != quote && t_[p_] != '\\') ++p_;
      if (p_ > run) {
        escaped.finish();
        out.append(t_.substr(run, p_ - run));
      }
      if (p_ >= t_.size()) break;
      if (t_[p_] == quote) {
        ++p_;
        escaped.finish();
        return out;
      }
      ++p_;  // the backslash
      if (p_ >= t_.size()) break;
      escape(escaped, out);
    }
    p_ = start;  // unterminated: the error is the opening quote
    return std::nullopt;
  }

  // Reads the escape after a backslash. Escapes give UTF-16 units, so \U pairs make one character.
  void escape(unicode::Utf16Appender& escaped, std::string& out) {
    char c = t_[p_++];
    switch (c) {
      case 'a':
        escaped.add(u'\a');
        return;
      case 'b':
        escaped.add(u'\b');
        return;
      case 'f':
        escaped.add(u'\f');
        return;
      case 'n':
        escaped.add(u'\n');
        return;
      case 'r':
        escaped.add(u'\r');
        return;
      case 't':
        escaped.add(u'\t');
        return;
      case 'v':
        escaped.add(u'\v');
        return;
      case 'U': {
        unsigned value = 0;
        for (int digits = 0; digits < 4 && p_ < t_.size() && hexValue(t_[p_]) >= 0; ++digits) {
          value = value * 16 + static_cast<unsigned>(hexValue(t_[p_++]));
        }
        escaped.add(static_cast<char16_t>(value));
        return;
      }
      default:
        break;
    }
    if (isOctal(c)) {
      unsigned value = static_cast<unsigned>(c - '0');
      for (int digits = 1; digits < 3 && p_ < t_.size() && isOctal(t_[p_]); ++digits) {
        value = value * 8 + static_cast<unsigned>(t_[p_++] - '0');
      }
      escaped.add(static_cast<char16_t>(value & 0xFF));
      return;
    }
    // Any other character (quotes, backslash, newline, a multi-byte character) stands for itself.
    std::size_t start = p_ - 1;
    std::size_t pos = start;
    char32_t ignored;
    if (!unicode::decodeUtf8(t_, pos, ignored)) pos = start + 1;  // cannot happen: text is valid
    escaped.finish();
    out.append(t_.substr(start, pos - start));
    p_ = pos;
  }

  std::string_view t_;
  std::size_t p_ = 0;
  std::vector<std::pair<std::string, std::size_t>>* offsets_;
};

// Line and column (in characters) of a byte offset into valid UTF-8 text.
StringsTable::Position positionOf(std::string_view text, std::size_t offset) {
  StringsTable::Position at;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++at.line;
      lineStart = i + 1;
    }
  }
  for (std::size_t i = lineStart; i < offset && i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++at.column;
  return at;
}

std::optional<StringsTable> fromPropertyList(std::string_view bytes) {
  auto list = readPropertyList(bytes);
  if (!list) return std::nullopt;
  const auto* dict = std::get_if<PlistDictionary>(&list->value);
  if (!dict) return std::nullopt;
  StringsTable::Entries entries;
  for (const auto& [key, value] : *dict) {
    if (const auto* text = std::get_if<std::string>(&value.value)) entries.emplace(key, *text);
  }
  return StringsTable(std::move(entries));
}

bool looksLikeXml(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() &&
         (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
    ++i;
  return text.substr(i, 5) == "<?xml" || text.substr(i, 6) == "<plist" ||
         text.substr(i, 9) == "<!DOCTYPE";
}

}  // namespace

std::optional<StringsTable> StringsTable::parse(std::string_view bytes) {
  if (bytes.size() > maxFileBytes) return std::nullopt;
  if (bytes.substr(0, 6) == "bplist") return fromPropertyList(bytes);
  auto decoded = decodeText(bytes);
  if (!decoded.valid) return std::nullopt;
  const std::string& text = decoded.text;
  if (looksLikeXml(text)) return fromPropertyList(text);
  auto entries = TextParser(text).parse();
  if (!entries) return std::nullopt;
  return StringsTable(std::move(*entries));
}

StringsTableListing StringsTable::list(std::string_view bytes) {
  StringsTableListing out;
  if (bytes.size() > maxFileBytes) {
    out.problem = Problem::tooLarge;
    return out;
  }
  auto fromList = [&](std::string_view plist) {
    out.format = Format::propertyList;
    out.table = fromPropertyList(plist);
    if (!out.table) out.problem = Problem::notADictionary;
    for (const auto& [key, value] : out.table ? out.table->entries() : Entries{})
      out.definitions.push_back({key, 0});
    return out;
  };
  if (bytes.substr(0, 6) == "bplist") return fromList(bytes);
  auto decoded = decodeText(bytes);
  const std::string& text = decoded.text;
  if (!decoded.valid) {
    out.problem = Problem::encoding;
    out.problemAt = positionOf(text, text.size());  // the first character not valid
    return out;
  }
  if (looksLikeXml(text)) return fromList(text);
  std::vector<std::pair<std::string, std::size_t>> offsets;
  TextParser parser(text, &offsets);
  auto entries = parser.parse();
  for (auto& [key, offset] : offsets)
    out.definitions.push_back({std::move(key), positionOf(text, offset).line});
  if (!entries) {
    out.problem = Problem::syntax;
    out.problemAt = positionOf(text, parser.stoppedAt());
    return out;
  }
  out.table = StringsTable(std::move(*entries));
  return out;
}

std::optional<StringsTable> StringsTable::load(const os::FileSystem& fileSystem,
                                               const std::string& path) {
  auto bytes = fileSystem.readFile(path, maxFileBytes);
  if (!bytes) return std::nullopt;
  return parse(*bytes);
}

std::optional<std::string> StringsTable::find(std::string_view key) const {
  auto it = entries_.find(key);
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

}  // namespace foundation
