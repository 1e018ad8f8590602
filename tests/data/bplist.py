"""A binary property list writer for the test data generators: objects in order, containers
referring to objects by index (forward and self references allowed), laid out as the platform
writes them: header, objects, offset table, trailer."""


def be(value, width):
    return value.to_bytes(width, "big")


class Bplist:
    """Counts of 15 and more take the narrowest integer, or four bytes when `wide`; offsets the
    narrowest width, or `offset_size`."""

    def __init__(self, wide=False, offset_size=None):
        self.objects, self.wide, self.offset_size = [], wide, offset_size

    def marker(self, kind, count):
        if count < 15:
            return bytes([kind << 4 | count])
        for code, width in ((0, 1), (1, 2), (2, 4), (3, 8)):
            if count < 1 << (8 * width) and (width == 4 or not self.wide):
                return bytes([kind << 4 | 0xF, 0x10 | code]) + be(count, width)
        raise ValueError(count)

    def add(self, head, refs=()):
        """`head` is the object's bytes, or a container's kind (0xA, 0xD) marked when built."""
        self.objects.append((head, list(refs)))
        return len(self.objects) - 1

    def ascii(self, text):
        return self.add(self.marker(5, len(text)) + text.encode("ascii"))

    def data(self, raw):
        return self.add(self.marker(4, len(raw)) + raw)

    def utf16(self, units):
        return self.add(self.marker(6, len(units)) + b"".join(be(u, 2) for u in units))

    def array(self, refs):
        return self.add(0xA, refs)

    def dict(self, pairs):
        return self.add(0xD, [k for k, _ in pairs] + [v for _, v in pairs])

    def nested(self, node, times, copies=1):
        """`node` in an array of `copies` of it, that in another, `times` over."""
        for _ in range(times):
            node = self.array([node] * copies)
        return node

    def build(self, top):
        count = len(self.objects)
        ref = 1 if count < 0x100 else 2 if count < 0x10000 else 4
        out, offsets = bytearray(b"bplist00"), []
        for head, refs in self.objects:
            offsets.append(len(out))
            n = len(refs) // 2 if head == 0xD else len(refs)
            out += (self.marker(head, n) if isinstance(head, int) else head)
            out += b"".join(be(r, ref) for r in refs)
        table = len(out)
        size = self.offset_size or (1 if table < 0x100 else 2 if table < 0x10000 else 4)
        out += b"".join(be(o, size) for o in offsets)
        return bytes(out + bytes(6) + bytes([size, ref]) + be(count, 8) + be(top, 8) + be(table, 8))
