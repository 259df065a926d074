#include "base/byte_cursor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qm {
namespace {

TEST(ByteCursor, StringKeepsCapacityMinusOneButSkipsWholeLength) {
  std::vector<uint8_t> buf;
  ByteWriter w(&buf);
  w.WriteString("abcdefgh");
  w.WriteU32(0xDEADBEEF);
  ByteReader r(buf);
  size_t full = 0;
  EXPECT_EQ(r.ReadString(4, &full), "abc");
  EXPECT_EQ(full, 8u);
  EXPECT_EQ(r.ReadU32(), 0xDEADBEEFu);
  EXPECT_FALSE(r.overrun());
}

TEST(ByteCursor, ReadsPastTheEndYieldZerosAndMarkOverrun) {
  const std::vector<uint8_t> buf = {0x05, 0x00, 'a', 'b'};  // claims 5 bytes, holds 2
  ByteReader r(buf);
  EXPECT_EQ(r.ReadString(100), "ab");
  EXPECT_TRUE(r.overrun());
  EXPECT_EQ(r.ReadU32(), 0u);
  EXPECT_EQ(r.remaining(), 0u);
}

// Every read of every width, from every position of a buffer too short for it: zero, the
// position at the end, the overrun marked, and a read that fits exactly leaves it unmarked.
TEST(ByteCursor, ReadsOfEachWidthAtAndPastTheEnd) {
  const std::vector<uint8_t> buf = {1, 2, 3, 4, 5, 6, 7, 8};
  struct Width {
    size_t bytes;
    uint64_t (*read)(ByteReader&);
  };
  const Width widths[] = {{1, [](ByteReader& r) -> uint64_t { return r.ReadU8(); }},
                          {2, [](ByteReader& r) -> uint64_t { return r.ReadU16(); }},
                          {4, [](ByteReader& r) -> uint64_t { return r.ReadU32(); }},
                          {8, [](ByteReader& r) -> uint64_t { return r.ReadU64(); }}};
  for (const Width& w : widths) {
    for (size_t at = 0; at <= buf.size(); ++at) {
      ByteReader r(buf, at);
      const uint64_t v = w.read(r);
      if (at + w.bytes <= buf.size()) {
        EXPECT_EQ(v & 0xFF, buf[at]) << w.bytes << "@" << at;  // little-endian: lowest byte first
        EXPECT_EQ(r.position(), at + w.bytes);
        EXPECT_FALSE(r.overrun());
      } else {
        EXPECT_EQ(v, 0u) << w.bytes << "@" << at;
        EXPECT_EQ(r.position(), buf.size());
        EXPECT_TRUE(r.overrun());
      }
    }
  }
  ByteReader r(buf);
  EXPECT_EQ(r.ReadU64(), 0x0807060504030201u);
  EXPECT_TRUE(r.Skip(0));  // nothing left, nothing asked
  EXPECT_FALSE(r.overrun());
}

// Sizes near the top of size_t must not wrap around when added to the position.
TEST(ByteCursor, HugePositionsAndLengthsNeverWrap) {
  const std::vector<uint8_t> buf = {1, 2, 3, 4};
  ByteReader far(buf, SIZE_MAX);
  EXPECT_TRUE(far.overrun());
  EXPECT_EQ(far.position(), buf.size());
  EXPECT_EQ(far.remaining(), 0u);
  EXPECT_EQ(far.ReadU8(), 0u);

  for (const size_t n : {SIZE_MAX, SIZE_MAX - 1, SIZE_MAX - 2, size_t{4}}) {
    ByteReader r(buf);
    r.ReadU8();
    EXPECT_TRUE(r.ReadSpan(n).empty()) << n;
    EXPECT_TRUE(r.overrun());
    EXPECT_EQ(r.position(), buf.size());
    ByteReader s(buf, 1);
    EXPECT_FALSE(s.Skip(n)) << n;
    EXPECT_TRUE(s.ReadChars(0).empty());  // once overrun, it stays at the end
    EXPECT_EQ(s.position(), buf.size());
  }
  ByteReader r(buf, 1);
  EXPECT_EQ(r.ReadChars(3), std::string("\x02\x03\x04"));  // exactly the rest
  EXPECT_FALSE(r.overrun());
}

// A 16-bit length-prefixed string cut anywhere: inside its length, inside its bytes, or not at
// all, and with a capacity of 0 or 1 that keeps nothing but still moves past the whole string.
TEST(ByteCursor, LengthPrefixedStringsCutShort) {
  std::vector<uint8_t> whole;
  ByteWriter(&whole).WriteString("hello");
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    ByteReader r(part);
    size_t full = 99;
    const std::string text = r.ReadString(100, &full);
    EXPECT_EQ(r.position(), part.size()) << cut;
    EXPECT_EQ(r.overrun(), cut < whole.size()) << cut;
    EXPECT_EQ(full, cut < 2 ? 0u : 5u) << cut;  // a cut length reads as 0
    EXPECT_EQ(text, cut < 2 ? "" : std::string("hello").substr(0, cut - 2)) << cut;
  }
  for (const size_t capacity : {0, 1}) {
    std::vector<uint8_t> buf;
    ByteWriter w(&buf);
    w.WriteString("abc");
    w.WriteU8(7);
    ByteReader r(buf);
    EXPECT_EQ(r.ReadString(capacity), "") << capacity;
    EXPECT_EQ(r.ReadU8(), 7u);
    EXPECT_FALSE(r.overrun());
  }
  const std::vector<uint8_t> max_length = {0xFF, 0xFF, 'a'};  // claims 65,535 bytes
  ByteReader r(max_length);
  size_t full = 0;
  EXPECT_EQ(r.ReadString(10, &full), "a");
  EXPECT_EQ(full, 65535u);
  EXPECT_TRUE(r.overrun());
}

TEST(ByteCursor, ReserveLeavesRoomFilledLater) {
  std::vector<uint8_t> buf;
  ByteWriter w(&buf);
  w.WriteU8(1);
  size_t at = w.Reserve(3);
  w.WriteU16(0x0302);
  *w.At(at) = 9;
  EXPECT_EQ(buf, (std::vector<uint8_t>{1, 9, 0, 0, 2, 3}));
  EXPECT_EQ(w.BytesWritten(), 6u);
}

}  // namespace
}  // namespace qm
