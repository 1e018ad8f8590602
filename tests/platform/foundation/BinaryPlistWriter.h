// A small binary property-list writer for tests, laid out as the platform writes "bplist00"
// files: header, objects, offset table, 32-byte trailer. Objects are added one by one and refer to
// each other by index, so tests can build shared references and cycles, then damage the bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace foundation::testing {

class BinaryPlistWriter {
 public:
  int boolean(bool b) { return raw(std::string(1, b ? '\x09' : '\x08')); }
  // 1, 2 or 4 bytes unsigned, 8 bytes signed, as the platform chooses.
  int integer(std::int64_t v) {
    if (v >= 0 && v <= 0xFF) return raw("\x10" + be(static_cast<std::uint64_t>(v), 1));
    if (v >= 0 && v <= 0xFFFF) return raw("\x11" + be(static_cast<std::uint64_t>(v), 2));
    if (v >= 0 && v <= 0xFFFFFFFFLL) return raw("\x12" + be(static_cast<std::uint64_t>(v), 4));
    return raw("\x13" + be(static_cast<std::uint64_t>(v), 8));
  }
  int integer128(std::uint64_t high, std::uint64_t low) {
    return raw("\x14" + be(high, 8) + be(low, 8));
  }
  int real(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return raw("\x23" + be(bits, 8));
  }
  int real32(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return raw("\x22" + be(bits, 4));
  }
  int date(double secondsSince2001) {
    std::uint64_t bits;
    std::memcpy(&bits, &secondsSince2001, 8);
    return raw("\x33" + be(bits, 8));
  }
  int data(const std::string& bytes) { return raw(marker(0x4, bytes.size()) + bytes); }
  int ascii(const std::string& text) { return raw(marker(0x5, text.size()) + text); }
  int utf16(const std::u16string& text) {
    std::string body;
    for (char16_t u : text) body += be(u, 2);
    return raw(marker(0x6, text.size()) + body);
  }
  int uid(std::uint64_t v) { return raw("\x80" + be(v, 1)); }

  // Containers may refer to objects added later (or to themselves), for cycles.
  int array(std::vector<int> refs) {
    objects_.push_back({"", std::move(refs), 0xA});
    return static_cast<int>(objects_.size() - 1);
  }
  int dict(const std::vector<std::pair<int, int>>& pairs) {
    std::vector<int> refs;
    for (auto& p : pairs) refs.push_back(p.first);
    for (auto& p : pairs) refs.push_back(p.second);
    objects_.push_back({"", std::move(refs), 0xD});
    return static_cast<int>(objects_.size() - 1);
  }
  // Replaces an object's references (to close a cycle after the fact).
  void setRefs(int index, std::vector<int> refs) { objects_[index].refs = std::move(refs); }

  // The file, with the top object given.
  std::string build(int top) const {
    const std::size_t count = objects_.size();
    const int refSize = count < 0x100 ? 1 : count < 0x10000 ? 2 : 4;
    std::string out = "bplist00";
    std::vector<std::uint64_t> offsets;
    for (const auto& o : objects_) {
      offsets.push_back(out.size());
      out += o.kind == 0xA   ? marker(0xA, o.refs.size())
             : o.kind == 0xD ? marker(0xD, o.refs.size() / 2)
                             : o.head;
      for (int r : o.refs) out += be(static_cast<std::uint64_t>(r), refSize);
    }
    const std::uint64_t tableOffset = out.size();
    const int offsetSize = tableOffset < 0x100 ? 1 : tableOffset < 0x10000 ? 2 : 4;
    for (auto off : offsets) out += be(off, offsetSize);
    out += std::string(6, '\0');
    out.push_back(static_cast<char>(offsetSize));
    out.push_back(static_cast<char>(refSize));
    out += be(count, 8) + be(static_cast<std::uint64_t>(top), 8) + be(tableOffset, 8);
    return out;
  }

  static std::string be(std::uint64_t v, int width) {
    std::string s(static_cast<std::size_t>(width), '\0');
    for (int i = width - 1; i >= 0; --i, v >>= 8)
      s[static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
    return s;
  }

 private:
  struct Object {
    std::string head;  // a scalar's bytes
    std::vector<int> refs;
    int kind = 0;  // 0xA array, 0xD dictionary, 0 scalar
  };

  static std::string marker(int kind, std::size_t count) {
    if (count < 15) return std::string(1, static_cast<char>((kind << 4) | static_cast<int>(count)));
    std::string m(1, static_cast<char>((kind << 4) | 0xF));
    if (count <= 0xFF) return m + "\x10" + be(count, 1);
    if (count <= 0xFFFF) return m + "\x11" + be(count, 2);
    return m + "\x12" + be(count, 4);
  }

  int raw(std::string bytes) {
    objects_.push_back({std::move(bytes), {}, 0});
    return static_cast<int>(objects_.size() - 1);
  }

  std::vector<Object> objects_;
};

}  // namespace foundation::testing
