#include "tools/demo_game/demo_game.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>
#include <utility>

#include "archive/entry_compressor.h"
#include "archive/h4r_format.h"
#include "base/file.h"
#include "base/os.h"
#include "base/path.h"
#include "base/replacement_file.h"
#include "heroes/face_size.h"
#include "heroes/game_files.h"
#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"
#include "portrait/portrait_codec.h"
#include "shell/pe_version.h"
#include "tools/demo_game/demo_faces.h"
#include "tools/demo_heroes4/demo_executable.h"

namespace qm {

namespace {

// 2002-11-19, when the demo's archives pretend to have been made.
constexpr uint32_t kDemoTimeStamp = 1037664000;

enum class Storage {
  kGzip,       // a gzip stream, trailing word 3
  kRaw,        // the bytes as they are, stored size = their length, trailing word 1
  kRawNoSize,  // the bytes as they are, stored size 0, trailing word 1
};

struct DemoEntry {
  std::string name;
  std::vector<uint8_t> content;
  Storage storage = Storage::kGzip;
};

std::vector<uint8_t> TextBytes(std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// Bytes that look like some other resource of the game, so the archive is not only ours.
std::vector<uint8_t> FillerBytes(size_t n, uint32_t seed) {
  std::vector<uint8_t> out(n);
  uint32_t x = seed;
  for (uint8_t& b : out) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return out;
}

// Header, payloads back to back, then the directory, as the game's own archives are laid out.
Status WriteDemoArchive(const std::string& path, const std::vector<DemoEntry>& entries) {
  std::vector<uint8_t> out(kH4rMagic, kH4rMagic + 4);
  AppendU32(&out, 0);  // directory offset, filled in below
  std::vector<EntryRecord> records;
  for (const DemoEntry& e : entries) {
    EntryRecord r;
    r.name = e.name;
    r.time_stamp = kDemoTimeStamp;
    r.data_offset = static_cast<uint32_t>(out.size());
    r.content_size = static_cast<uint32_t>(e.content.size());
    if (e.storage == Storage::kGzip) {
      std::vector<uint8_t> payload;
      if (Status s = CompressEntry(e.content, &payload); !s) return Status::Fail(path + ": " + e.name + ": " + s.why());
      r.stored_size = static_cast<uint32_t>(payload.size());
      r.trailing_word = kTrailingWordGzip;
      out.insert(out.end(), payload.begin(), payload.end());
    } else {
      r.stored_size = e.storage == Storage::kRaw ? r.content_size : 0;
      r.trailing_word = kTrailingWordRaw;
      out.insert(out.end(), e.content.begin(), e.content.end());
    }
    records.push_back(std::move(r));
  }
  StoreU32(out.data() + kDirectoryOffsetField, static_cast<uint32_t>(out.size()));
  AppendU32(&out, static_cast<uint32_t>(records.size()));
  for (const EntryRecord& r : records) EncodeRecord(r, &out);
  return WriteWholeFile(path, out);
}

HeroRecord PseudoHero(const char* keyword) {
  HeroRecord r;
  r.keyword = keyword;
  r.flags = kHeroReadOnly | kHeroHasLarge | kHeroHasSmall;
  return r;
}

Status EncodeFaces(HeroRecord* record, const Picture& large, const Picture& small) {
  if (Status s = EncodePortrait(large, record->keyword, &record->large_face); !s) return s;
  return EncodePortrait(small, record->keyword, &record->small_face);
}

}  // namespace

demo::DemoLanguage DemoLanguageOf(CodePage page) {
  switch (page) {
    case CodePage::k1251: return demo::DemoLanguage::kRussian;
    case CodePage::k1250: return demo::DemoLanguage::kPolish;
    case CodePage::k1252: break;
  }
  return demo::DemoLanguage::kEnglish;
}

Status MakeDemoRecords(const std::vector<demo::DemoHero>& heroes, std::vector<HeroRecord>* records, CodePage page) {
  if (heroes.size() > kMaxHeroRecords - kFirstHeroRecord) return Status::Fail("too many heroes for a catalogue");
  std::vector<HeroRecord> out;
  HeroRecord header;  // the header row as the parser reads it
  header.keyword = "Keyword";
  header.name = "Name";
  header.biography = "Biography";
  out.push_back(std::move(header));
  for (size_t pseudo : {kDeadRecord, kSleepingRecord}) {
    HeroRecord r = PseudoHero(pseudo == kDeadRecord ? "dead" : "sleeping");
    if (Status s = EncodeFaces(&r, demo::DrawPseudoHeroFace(pseudo, kLargeFaceSize),
                               demo::DrawPseudoHeroFace(pseudo, kSmallFaceSize));
        !s) {
      return Status::Fail(r.keyword + ": " + s.why());
    }
    out.push_back(std::move(r));
  }
  for (const demo::DemoHero& hero : heroes) {
    HeroRecord r;
    r.keyword = hero.keyword;
    if (Status s = Utf8ToCodePage(hero.name, page, &r.name); !s) return Status::Fail(hero.keyword + ": " + s.why());
    if (Status s = Utf8ToCodePage(hero.biography, page, &r.biography); !s) {
      return Status::Fail(hero.keyword + ": " + s.why());
    }
    r.sex = hero.sex;
    r.hero_class = hero.hero_class;
    r.allowed_by = hero.allowed ? 1 : 0;
    r.flags = kHeroHasLarge | kHeroHasSmall;
    if (Status s = EncodeFaces(&r, demo::DrawDemoFace(hero, kLargeFaceSize), demo::DrawDemoFace(hero, kSmallFaceSize));
        !s) {
      return Status::Fail(hero.keyword + ": " + s.why());
    }
    out.push_back(std::move(r));
  }
  *records = std::move(out);
  return Status::Ok();
}

Status DemoExecutableWithVersion(std::span<const uint8_t> executable, const std::array<uint16_t, 4>& version,
                                 std::vector<uint8_t>* out) {
  // VS_FIXEDFILEINFO: signature 0xFEEF04BD, structure version, file version (two words), then
  // the product version's two words. The signature is 32-bit aligned in the resource.
  constexpr uint8_t kSignature[4] = {0xBD, 0x04, 0xEF, 0xFE};
  constexpr size_t kProductVersionAt = 16;
  const uint32_t ms = (static_cast<uint32_t>(version[0]) << 16) | version[1];
  const uint32_t ls = (static_cast<uint32_t>(version[2]) << 16) | version[3];
  std::vector<uint8_t> bytes(executable.begin(), executable.end());
  for (size_t at = 0; at + kProductVersionAt + 8 <= bytes.size(); at += 4) {
    if (!std::equal(kSignature, kSignature + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at))) continue;
    std::vector<uint8_t> changed = bytes;
    StoreU32(changed.data() + at + kProductVersionAt, ms);
    StoreU32(changed.data() + at + kProductVersionAt + 4, ls);
    // Only the block the version reader itself finds counts, not a stray byte pattern.
    const std::optional<PeProductVersion> read = ReadPeProductVersion(changed);
    if (read && read->ms == ms && read->ls == ls) {
      *out = std::move(changed);
      return Status::Ok();
    }
  }
  return Status::Fail("the demo executable has no version block");
}

Status MakeDemoGame(const std::string& folder, const DemoGameOptions& options, DemoGameSummary* summary) {
  std::vector<HeroRecord> records;
  const std::vector<demo::DemoHero> heroes = demo::DemoHeroes(options.hero_count, DemoLanguageOf(options.code_page));
  if (Status s = MakeDemoRecords(heroes, &records, options.code_page); !s) return s;
  HeroCatalogue catalogue;
  if (Status s = catalogue.Assign(std::move(records)); !s) return s;

  const std::string root = WithTrailingSeparator(folder.empty() ? "." : folder);
  const std::string data = root + kDataFolderName;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(data), ec);
  if (ec || !os::FileExists(data)) return Status::Fail(data + ": cannot create the folder");
  const std::string data_dir = data + kPathSeparator;

  DemoGameSummary out;
  out.executable = root + "HEROES4.EXE";
  out.base_archive = data_dir + kBaseArchiveName;
  out.update_archive = data_dir + kUpdateArchiveName;
  out.text_archive = data_dir + kTextArchiveName;
  out.heroes = catalogue.count() - kFirstHeroRecord;

  // The base archive: portrait bundles between other resources of the game.
  std::vector<DemoEntry> base;
  base.push_back({"layers.icons.town.academy.h4d", FillerBytes(3000, 1), Storage::kRaw});
  base.push_back({"table.creatures.h4d", TextBytes("Keyword\tName\nimp\tImp\nangel\tAngel\ndragon\tBlack Dragon\n"),
                  Storage::kGzip});
  for (uint8_t alignment = 1; alignment <= kAlignmentCount; ++alignment) {
    for (FaceKind kind : {FaceKind::kSmall, FaceKind::kLarge}) {
      DemoEntry e;
      e.name = BundleEntryName(alignment, kind);
      catalogue.CollectBundle(alignment, kind, &e.content);
      // The game keeps some resources raw; the demo mixes both kinds.
      e.storage = (alignment == kAlignmentNature || alignment == kAlignmentMight) ? Storage::kRaw : Storage::kGzip;
      base.push_back(std::move(e));
    }
  }
  base.push_back({"sounds.menu.click.h4d", FillerBytes(700, 2), Storage::kRawNoSize});

  std::vector<uint8_t> table;
  if (Status s = SerializeHeroTable(catalogue.records(), &table); !s) return s;
  std::vector<DemoEntry> text;
  text.push_back({kHeroTableEntryName, std::move(table), Storage::kGzip});
  text.push_back({"text.credits.h4d", TextBytes("Demo game for Quillmark.\r\nAll heroes drawn by code.\r\n"),
                  Storage::kRaw});

  std::vector<DemoEntry> updates;
  updates.push_back({"table.spells.h4d", TextBytes("Keyword\tName\nfireball\tFireball\nbless\tBless\n"), Storage::kGzip});

  if (Status s = WriteDemoArchive(out.base_archive, base); !s) return s;
  if (Status s = WriteDemoArchive(out.text_archive, text); !s) return s;
  if (Status s = WriteDemoArchive(out.update_archive, updates); !s) return s;
  std::vector<uint8_t> executable;
  if (Status s = DemoExecutableWithVersion(DemoGameExecutable(), options.version, &executable); !s) return s;
  if (Status s = WriteWholeFile(out.executable, executable); !s) return s;
  if (summary) *summary = std::move(out);
  return Status::Ok();
}

}  // namespace qm
