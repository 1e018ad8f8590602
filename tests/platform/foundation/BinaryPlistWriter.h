// A small binary property-list writer for tests, laid out as the platform writes "bplist00"
// files: header, objects, offset table, 32-byte trailer. Objects refer to each other by index, so
// tests can build shared references, then damage the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace foundation::testing {

class BinaryPlistWriter {
 public:
  int integer(std::uint8_t v) { return add("\x10" + be(v, 1)); }
  int data(const std::string& bytes) { return add(marker(0x4, bytes.size()) + bytes); }
  int ascii(const std::string& text) { return add(marker(0x5, text.size()) + text); }
  int utf16(const std::u16string& text) {
    std::string body;
    for (char16_t u : text) body += be(u, 2);
    return add(marker(0x6, text.size()) + body);
  }
  int array(const std::vector<int>& refs) { return container(0xA, refs.size(), refs); }
  int dict(const std::vector<std::pair<int, int>>& pairs) {
    std::vector<int> refs;
    for (auto& p : pairs) refs.push_back(p.first);
    for (auto& p : pairs) refs.push_back(p.second);
    return container(0xD, pairs.size(), refs);
  }

  // The file, with the top object given; references take one or two bytes, offsets four.
  std::string build(int top) const {
    const int refSize = objects_.size() < 0x100 ? 1 : 2;
    std::string out = "bplist00";
    std::vector<std::uint64_t> offsets;
    for (const auto& [head, refs] : objects_) {
      offsets.push_back(out.size());
      out += head;
      for (int r : refs) out += be(static_cast<std::uint64_t>(r), refSize);
    }
    const std::uint64_t tableOffset = out.size();
    for (auto off : offsets) out += be(off, 4);
    out += std::string(6, '\0') + "\x04" + static_cast<char>(refSize);
    return out + be(objects_.size(), 8) + be(static_cast<std::uint64_t>(top), 8) +
           be(tableOffset, 8);
  }

  static std::string be(std::uint64_t v, int width) {
    std::string s(static_cast<std::size_t>(width), '\0');
    for (int i = width - 1; i >= 0; --i, v >>= 8) s[i] = static_cast<char>(v & 0xFF);
    return s;
  }

 private:
  static std::string marker(int kind, std::size_t count) {
    if (count < 15) return std::string(1, static_cast<char>((kind << 4) | count));
    return std::string(1, static_cast<char>((kind << 4) | 0xF)) + "\x12" + be(count, 4);
  }
  int add(std::string head, std::vector<int> refs = {}) {
    objects_.emplace_back(std::move(head), std::move(refs));
    return static_cast<int>(objects_.size() - 1);
  }
  int container(int kind, std::size_t count, const std::vector<int>& refs) {
    return add(marker(kind, count), refs);
  }

  std::vector<std::pair<std::string, std::vector<int>>> objects_;
};

}  // namespace foundation::testing
