#include <gtest/gtest.h>

#include "archive/h4r_format.h"
#include "archive/payload.h"
#include "archive/payload_codec.h"
#include "base/file.h"
#include "tests/archive_builder.h"
#include "tests/test_util.h"

namespace qm {
namespace {

using test::Bytes;

class Payload : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteFileBytes(exe_, stub_); }
  std::vector<uint8_t> Exe() { return test::ReadFileBytes(exe_); }
  PayloadReader Reader() {
    PayloadReader r;
    Status s = PayloadReader::Open(exe_, &r);
    EXPECT_TRUE(s.ok()) << s.why();
    return r;
  }
  std::vector<uint8_t> Blob(PayloadReader& r, const std::string& name) {
    std::vector<uint8_t> blob;
    const PayloadRecord* rec = r.Find(name);
    if (!rec || !r.ReadBlob(*rec, &blob)) return {};
    return blob;
  }

  test::TempDir dir_;
  std::string exe_ = dir_.File("QLMKSFX.EXE");
  std::vector<uint8_t> stub_ = test::RandomBytes(5000, 1);  // stands in for the program itself
};

TEST_F(Payload, FirstAppendLaysOutDirectoryBlobAndTrailer) {
  PayloadReader none;
  EXPECT_FALSE(PayloadReader::Open(exe_, &none));  // a stub as extracted carries nothing

  ASSERT_TRUE(AppendPayloadEntry(exe_, "DATA\\UPDATES.H4R", Bytes("archive bytes"), 0));
  const std::vector<uint8_t> exe = Exe();
  const size_t e = stub_.size();
  ASSERT_EQ(exe.size(), e + 9600 + 13 + 8);
  EXPECT_TRUE(std::equal(stub_.begin(), stub_.end(), exe.begin()));
  EXPECT_EQ(std::string(exe.end() - 8, exe.end() - 4), "ZVRT");
  EXPECT_EQ(LoadU32(exe.data() + exe.size() - 4), e);
  EXPECT_EQ(LoadU32(exe.data() + e), e + 9600);  // slot 0's data offset
  EXPECT_EQ(LoadU32(exe.data() + e + 4), 13u);
  EXPECT_EQ(LoadU32(exe.data() + e + 8), 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(exe.data() + e + 12)), "DATA\\UPDATES.H4R");
  EXPECT_TRUE(std::all_of(exe.begin() + e + 12 + 16, exe.begin() + e + 9600, [](uint8_t b) { return b == 0; }));

  PayloadReader r = Reader();
  ASSERT_EQ(r.records().size(), 1u);
  EXPECT_EQ(Blob(r, "DATA\\UPDATES.H4R"), Bytes("archive bytes"));
}

TEST_F(Payload, LaterAppendsGrowByTheBlobAndTakeTheNextSlot) {
  ASSERT_TRUE(AppendPayloadEntry(exe_, "first", Bytes("one"), 0));
  const size_t size = Exe().size();
  ASSERT_TRUE(AppendPayloadEntry(exe_, "second", Bytes("second blob"), 0));
  const std::vector<uint8_t> exe = Exe();
  EXPECT_EQ(exe.size(), size + 11);
  EXPECT_EQ(LoadU32(exe.data() + stub_.size() + 96), size - 8);  // over the old trailer
  PayloadReader r = Reader();
  ASSERT_EQ(r.records().size(), 2u);
  EXPECT_EQ(r.records()[1].slot, 1u);
  EXPECT_EQ(r.records()[1].name, "second");
  EXPECT_EQ(Blob(r, "first"), Bytes("one"));
  EXPECT_EQ(Blob(r, "SECOND"), Bytes("second blob"));
}

TEST_F(Payload, CompressedEntryHoldsAGzipStreamOfTheContent) {
  // A bundle without images is two bytes and is still appended.
  ASSERT_TRUE(AppendCompressedPayloadEntry(exe_, "layers.icons.hero.life.52.h4d", std::vector<uint8_t>{0, 0}));
  const std::vector<uint8_t> content = test::RandomBytes(3 * 1024 * 1024, 2);  // past the working buffer
  ASSERT_TRUE(AppendCompressedPayloadEntry(exe_, "table.heroes.h4d", content));
  EXPECT_FALSE(AppendCompressedPayloadEntry(exe_, "", Bytes("x")));
  PayloadReader r = Reader();
  ASSERT_EQ(r.records().size(), 2u);
  for (const auto& [name, expected] :
       std::vector<std::pair<std::string, std::vector<uint8_t>>>{{"layers.icons.hero.life.52.h4d", {0, 0}},
                                                                  {"table.heroes.h4d", content}}) {
    const PayloadRecord* rec = r.Find(name);
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->content_size, expected.size());
    std::vector<uint8_t> blob, decoded;
    ASSERT_TRUE(r.ReadBlob(*rec, &blob));
    EXPECT_TRUE(LooksLikeGzip(blob));
    ASSERT_TRUE(DecodeStoredPayload(blob, rec->content_size, &decoded));
    EXPECT_EQ(decoded, expected);
  }
}

TEST_F(Payload, FullDirectoryAndLongNamesAreRefusedUnchanged) {
  EXPECT_FALSE(AppendPayloadEntry(exe_, std::string(kPayloadNameFieldSize, 'n'), Bytes("x"), 0));
  EXPECT_FALSE(AppendPayloadEntry(exe_, "", Bytes("x"), 0));
  EXPECT_EQ(Exe(), stub_);
  ASSERT_TRUE(AppendPayloadEntry(exe_, std::string(kPayloadMaxNameLength, 'n'), Bytes("x"), 0));
  for (size_t i = 1; i < kPayloadSlotCount; ++i) {
    const std::string name = std::string("e").append(std::to_string(i));
    ASSERT_TRUE(AppendPayloadEntry(exe_, name, Bytes("y"), 0)) << i;
  }
  const std::vector<uint8_t> full = Exe();
  EXPECT_FALSE(AppendPayloadEntry(exe_, "one.too.many", Bytes("z"), 0));
  EXPECT_EQ(Exe(), full);
  PayloadReader r = Reader();
  ASSERT_EQ(r.records().size(), kPayloadSlotCount);
  EXPECT_EQ(r.records()[0].name, std::string(kPayloadMaxNameLength, 'n'));
  EXPECT_EQ(Blob(r, "e99"), Bytes("y"));
  EXPECT_FALSE(AppendPayloadEntry(dir_.File("missing.exe"), "a", Bytes("a"), 0));
}

TEST_F(Payload, ReaderSkipsFreeSlotsAndRefusesWhatDoesNotFit) {
  ASSERT_TRUE(AppendPayloadEntry(exe_, "a", Bytes("aaa"), 0));
  ASSERT_TRUE(AppendPayloadEntry(exe_, "b", Bytes("bbb"), 0));
  std::vector<uint8_t> exe = Exe();
  const size_t d = stub_.size();
  // Move slot 1 to slot 7, leaving a gap.
  std::copy(exe.begin() + d + 96, exe.begin() + d + 192, exe.begin() + d + 7 * 96);
  std::fill(exe.begin() + d + 96, exe.begin() + d + 192, 0);
  test::WriteFileBytes(exe_, exe);
  {
    PayloadReader r = Reader();
    ASSERT_EQ(r.records().size(), 2u);
    EXPECT_EQ(r.records()[1].slot, 7u);
    EXPECT_EQ(Blob(r, "b"), Bytes("bbb"));
  }
  // The next append takes the first free slot.
  ASSERT_TRUE(AppendPayloadEntry(exe_, "c", Bytes("c"), 0));
  EXPECT_EQ(Reader().Find("c")->slot, 1u);

  // A blob that reaches past the payload is refused; a directory that does not fit is no payload.
  exe = Exe();
  StoreU32(exe.data() + d + 4, 0x7FFFFFFF);
  test::WriteFileBytes(exe_, exe);
  PayloadReader r = Reader();
  std::vector<uint8_t> blob;
  EXPECT_FALSE(r.ReadBlob(*r.Find("a"), &blob));
  StoreU32(exe.data() + exe.size() - 4, static_cast<uint32_t>(exe.size() - 9000));
  test::WriteFileBytes(exe_, exe);
  EXPECT_FALSE(PayloadReader::Open(exe_, &r));
  EXPECT_FALSE(AppendPayloadEntry(exe_, "d", Bytes("d"), 0));
  EXPECT_EQ(Exe(), exe);
}

TEST_F(Payload, TinyFilesGetAFreshPayload) {
  test::WriteFileBytes(exe_, Bytes("MZ"));
  ASSERT_TRUE(AppendPayloadEntry(exe_, "x", Bytes("x"), 0));
  EXPECT_EQ(Exe().size(), 2u + 9600 + 1 + 8);
  test::WriteFileBytes(exe_, {});
  ASSERT_TRUE(AppendPayloadEntry(exe_, "x", Bytes("x"), 0));
  PayloadReader r = Reader();
  EXPECT_EQ(r.directory_offset(), 0u);
  EXPECT_EQ(Blob(r, "x"), Bytes("x"));
}

TEST_F(Payload, InterruptedAppendNeverNamesAMissingBlob) {
  ASSERT_TRUE(AppendPayloadEntry(exe_, "a", Bytes("aaa"), 0));
  const std::vector<uint8_t> original = Exe();
  bool completed = false;
  for (unsigned long k = 1; k < 50; ++k) {
    test::WriteFileBytes(exe_, original);
    fault::FailNth(k, fault::kWrite | fault::kSeek | fault::kClose);
    const Status s = AppendPayloadEntry(exe_, "b", Bytes("bbbb"), 0);
    const bool triggered = fault::Triggered();
    fault::Reset();
    EXPECT_EQ(s.ok(), !triggered);
    PayloadReader r;
    const bool readable = PayloadReader::Open(exe_, &r).ok();
    if (!triggered) {  // the append succeeded: both entries are there
      ASSERT_TRUE(readable) << k;
      EXPECT_EQ(r.records().size(), 2u) << k;
      EXPECT_EQ(Blob(r, "a"), Bytes("aaa")) << k;
      EXPECT_EQ(Blob(r, "b"), Bytes("bbbb")) << k;
      completed = true;
      break;
    }
    if (!readable) continue;  // the old trailer was overwritten: no payload
    for (const PayloadRecord& rec : r.records()) {
      std::vector<uint8_t> blob;
      EXPECT_TRUE(r.ReadBlob(rec, &blob)) << k;
      EXPECT_EQ(blob, rec.name == "a" ? Bytes("aaa") : Bytes("bbbb")) << k;
    }
  }
  EXPECT_TRUE(completed);  // some k lies past the append's last operation
}

}  // namespace
}  // namespace qm
