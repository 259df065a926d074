#include "base/byte_cursor.h"

#include <gtest/gtest.h>

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
