#include "tools/pe_image/pe_image_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

#include "base/little_endian.h"

namespace qm {
namespace {

using namespace pe_image;

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;

size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

void Pad(std::vector<uint8_t>* b, size_t to) { b->resize(RoundUp(b->size(), to), 0); }

void Append16(std::vector<uint8_t>* b, uint16_t v) {
  b->resize(b->size() + 2);
  StoreU16(b->data() + b->size() - 2, v);
}

void AppendWide(std::vector<uint8_t>* b, std::string_view ascii) {
  for (char c : ascii) Append16(b, static_cast<uint8_t>(c));
  Append16(b, 0);
}

// One node of a version block: header (length, value length, type), key, value, children,
// each part 32-bit aligned from the start of the block.
struct VersionNode {
  std::string key;
  uint16_t type = 1;  // 1 text, 0 binary
  uint16_t value_length = 0;
  std::vector<uint8_t> value;
  std::vector<VersionNode> children;
};

void AppendNode(const VersionNode& node, std::vector<uint8_t>* b) {
  Pad(b, 4);
  const size_t start = b->size();
  b->resize(start + 6, 0);
  AppendWide(b, node.key);
  Pad(b, 4);
  b->insert(b->end(), node.value.begin(), node.value.end());
  for (const VersionNode& child : node.children) AppendNode(child, b);
  StoreU16(b->data() + start, static_cast<uint16_t>(b->size() - start));
  StoreU16(b->data() + start + 2, node.value_length);
  StoreU16(b->data() + start + 4, node.type);
}

VersionNode TextNode(const std::string& key, const std::string& text) {
  VersionNode node{key, 1, static_cast<uint16_t>(text.size() + 1), {}, {}};
  AppendWide(&node.value, text);
  return node;
}

// Lays out the resource section as a resource compiler does: the directories level by level
// (types, then ids, then languages; named types first, by name, then the numbered ones by
// number), the data entries, the type names, and the data, each 16-byte aligned. With the
// version block alone this is the fixed layout of the header. Places are section offsets.
std::vector<uint8_t> ResourceSection(const PeImageRecipe& recipe, uint32_t rva, std::vector<PeResourcePlace>* places) {
  std::vector<PeResource> all{
      {"", recipe.type_id, recipe.name_id, recipe.version.language, BuildVersionBlock(recipe.version)}};
  all.insert(all.end(), recipe.resources.begin(), recipe.resources.end());

  struct Id {
    uint32_t id;
    std::vector<size_t> languages;  // indices into `all`
    size_t directory = 0;
  };
  struct Type {
    std::string name;
    uint32_t id;
    std::vector<Id> ids;
    size_t directory = 0, name_at = 0;
  };
  std::vector<Type> types;
  for (size_t i = 0; i < all.size(); ++i) {
    const PeResource& r = all[i];
    auto type = std::find_if(types.begin(), types.end(), [&](const Type& t) {
      return t.name == r.type_name && (!t.name.empty() || t.id == r.type_id);
    });
    if (type == types.end()) type = types.insert(types.end(), Type{r.type_name, r.type_id, {}});
    auto id = std::find_if(type->ids.begin(), type->ids.end(), [&](const Id& d) { return d.id == r.id; });
    if (id == type->ids.end()) id = type->ids.insert(type->ids.end(), Id{r.id, {}});
    id->languages.push_back(i);
  }
  std::sort(types.begin(), types.end(), [](const Type& a, const Type& b) {
    if (a.name.empty() != b.name.empty()) return !a.name.empty();
    return a.name.empty() ? a.id < b.id : a.name < b.name;
  });
  for (Type& t : types) {
    std::sort(t.ids.begin(), t.ids.end(), [](const Id& a, const Id& b) { return a.id < b.id; });
    for (Id& d : t.ids) {
      std::sort(d.languages.begin(), d.languages.end(),
                [&](size_t a, size_t b) { return all[a].language < all[b].language; });
    }
  }

  std::vector<PeResourcePlace> placed(all.size());
  size_t at = kRootDirAt + 16 + 8 * types.size();
  for (Type& t : types) {
    t.directory = at;
    at += 16 + 8 * t.ids.size();
  }
  for (Type& t : types) {
    for (Id& d : t.ids) {
      d.directory = at;
      at += 16 + 8 * d.languages.size();
    }
  }
  for (const Type& t : types) {
    for (const Id& d : t.ids) {
      for (size_t i : d.languages) {
        placed[i].data_entry = at;
        at += 16;
      }
    }
  }
  for (Type& t : types) {
    if (t.name.empty()) continue;
    t.name_at = at;
    at = RoundUp(at + 2 + 2 * t.name.size(), 4);
  }
  for (const Type& t : types) {
    for (const Id& d : t.ids) {
      for (size_t i : d.languages) {
        placed[i].data = RoundUp(at, 16);
        at = placed[i].data + all[i].data.size();
      }
    }
  }

  std::vector<uint8_t> r(RoundUp(at, kFileAlignment), 0);
  auto directory = [&](size_t dir, size_t named, size_t numbered) {
    StoreU16(&r[dir + 12], static_cast<uint16_t>(named));
    StoreU16(&r[dir + 14], static_cast<uint16_t>(numbered));
  };
  auto entry = [&](size_t e, uint32_t name, uint32_t target) {
    StoreU32(&r[e], name);
    StoreU32(&r[e + 4], target);
  };
  const size_t named_types =
      static_cast<size_t>(std::count_if(types.begin(), types.end(), [](const Type& t) { return !t.name.empty(); }));
  directory(kRootDirAt, named_types, types.size() - named_types);
  for (size_t ti = 0; ti < types.size(); ++ti) {
    const Type& t = types[ti];
    const size_t type_entry = kRootDirAt + 16 + 8 * ti;
    const uint32_t type_name = t.name.empty() ? t.id : 0x80000000u | static_cast<uint32_t>(t.name_at);
    entry(type_entry, type_name, 0x80000000u | static_cast<uint32_t>(t.directory));
    if (!t.name.empty()) {
      StoreU16(&r[t.name_at], static_cast<uint16_t>(t.name.size()));
      for (size_t c = 0; c < t.name.size(); ++c) StoreU16(&r[t.name_at + 2 + 2 * c], static_cast<uint8_t>(t.name[c]));
    }
    directory(t.directory, 0, t.ids.size());
    for (size_t di = 0; di < t.ids.size(); ++di) {
      const Id& d = t.ids[di];
      const size_t id_entry = t.directory + 16 + 8 * di;
      entry(id_entry, d.id, 0x80000000u | static_cast<uint32_t>(d.directory));
      directory(d.directory, 0, d.languages.size());
      for (size_t li = 0; li < d.languages.size(); ++li) {
        const size_t i = d.languages[li];
        PeResourcePlace& p = placed[i];
        p.type_entry = type_entry;
        p.type_directory = t.directory;
        p.id_entry = id_entry;
        p.language_directory = d.directory;
        p.language_entry = d.directory + 16 + 8 * li;
        p.type_name = t.name_at;
        entry(p.language_entry, all[i].language, static_cast<uint32_t>(p.data_entry));
        StoreU32(&r[p.data_entry], rva + static_cast<uint32_t>(p.data));
        StoreU32(&r[p.data_entry + 4], static_cast<uint32_t>(all[i].data.size()));
        if (!all[i].data.empty()) std::memcpy(&r[p.data], all[i].data.data(), all[i].data.size());
      }
    }
  }
  if (places) *places = std::move(placed);
  return r;
}

struct Import {
  const char* dll;
  const char* function;
};

// The message program: code, its two texts and the import tables, all in one section mapped
// at `rva`. Reports where the import directory and the address table are.
struct TextSection {
  std::vector<uint8_t> bytes;
  uint32_t imports_rva = 0, imports_size = 0, iat_rva = 0, iat_size = 0;
};

TextSection MessageProgramSection(const PeMessageProgram& program, uint32_t rva) {
  constexpr Import kImports[] = {{"USER32.dll", "MessageBoxA"}, {"KERNEL32.dll", "ExitProcess"}};
  constexpr size_t kCount = sizeof kImports / sizeof kImports[0];
  constexpr size_t kCodeSize = 28;
  constexpr uint8_t kMbIconInformation = 0x40;  // MB_OK | MB_ICONINFORMATION
  TextSection t;
  std::vector<uint8_t>& b = t.bytes;
  b.resize(kCodeSize, 0);
  Pad(&b, 16);
  const uint32_t caption_va = kImageBase + rva + static_cast<uint32_t>(b.size());
  b.insert(b.end(), program.caption.begin(), program.caption.end());
  b.push_back(0);
  const uint32_t text_va = kImageBase + rva + static_cast<uint32_t>(b.size());
  b.insert(b.end(), program.text.begin(), program.text.end());
  b.push_back(0);
  Pad(&b, 4);

  // Import descriptors (one per DLL and a zero one), then the lookup tables, then the address
  // tables side by side (one function each and a zero), then hint/name entries and DLL names.
  const size_t descriptors = b.size();
  b.resize(descriptors + (kCount + 1) * 20, 0);
  const size_t lookups = b.size();
  b.resize(lookups + kCount * 8, 0);
  const size_t addresses = b.size();
  b.resize(addresses + kCount * 8, 0);
  for (size_t i = 0; i < kCount; ++i) {
    Pad(&b, 2);
    const uint32_t hint_name = rva + static_cast<uint32_t>(b.size());
    Append16(&b, 0);
    b.insert(b.end(), kImports[i].function, kImports[i].function + std::strlen(kImports[i].function) + 1);
    const uint32_t name = rva + static_cast<uint32_t>(b.size());
    b.insert(b.end(), kImports[i].dll, kImports[i].dll + std::strlen(kImports[i].dll) + 1);
    StoreU32(&b[lookups + i * 8], hint_name);
    StoreU32(&b[addresses + i * 8], hint_name);
    const size_t d = descriptors + i * 20;
    StoreU32(&b[d], rva + static_cast<uint32_t>(lookups + i * 8));
    StoreU32(&b[d + 12], name);
    StoreU32(&b[d + 16], rva + static_cast<uint32_t>(addresses + i * 8));
  }
  t.imports_rva = rva + static_cast<uint32_t>(descriptors);
  t.imports_size = static_cast<uint32_t>((kCount + 1) * 20);
  t.iat_rva = rva + static_cast<uint32_t>(addresses);
  t.iat_size = static_cast<uint32_t>(kCount * 8);

  // push MB_OK|MB_ICONINFORMATION; push caption; push text; push 0; call [MessageBoxA];
  // push 0; call [ExitProcess]
  const uint32_t message_box = kImageBase + t.iat_rva;
  const uint32_t exit_process = message_box + 8;
  uint8_t* c = b.data();
  c[0] = 0x6A, c[1] = kMbIconInformation;
  c[2] = 0x68, StoreU32(c + 3, caption_va);
  c[7] = 0x68, StoreU32(c + 8, text_va);
  c[12] = 0x6A, c[13] = 0x00;
  c[14] = 0xFF, c[15] = 0x15, StoreU32(c + 16, message_box);
  c[20] = 0x6A, c[21] = 0x00;
  c[22] = 0xFF, c[23] = 0x15, StoreU32(c + 24, exit_process);
  Pad(&b, kFileAlignment);
  return t;
}

void WriteSectionHeader(uint8_t* s, const char* name, uint32_t size, uint32_t rva, uint32_t raw_size,
                        uint32_t raw_at, uint32_t characteristics) {
  std::memcpy(s, name, std::strlen(name));
  StoreU32(s + 8, size);
  StoreU32(s + 12, rva);
  StoreU32(s + 16, raw_size);
  StoreU32(s + 20, raw_at);
  StoreU32(s + 36, characteristics);
}

}  // namespace

std::vector<uint8_t> BuildVersionBlock(const VersionBlockRecipe& recipe) {
  VersionNode root{recipe.key, 0, recipe.fixed_length, std::vector<uint8_t>(52, 0), {}};
  const uint32_t fixed[] = {recipe.signature,  0x00010000,       recipe.file_ms, recipe.file_ls,
                            recipe.product_ms, recipe.product_ls, recipe.file_flags_mask, 0,
                            recipe.file_os,    recipe.file_type, 0, 0, 0};
  for (size_t i = 0; i < 13; ++i) StoreU32(&root.value[i * 4], fixed[i]);
  if (!recipe.strings.empty()) {
    char table_key[9];
    std::snprintf(table_key, sizeof table_key, "%04X%04X", recipe.language, recipe.code_page);
    VersionNode table{table_key, 1, 0, {}, {}};
    for (const auto& [key, text] : recipe.strings) table.children.push_back(TextNode(key, text));
    root.children.push_back(VersionNode{"StringFileInfo", 1, 0, {}, {std::move(table)}});
    VersionNode translation{"Translation", 0, 4, std::vector<uint8_t>(4), {}};
    StoreU16(&translation.value[0], recipe.language);
    StoreU16(&translation.value[2], recipe.code_page);
    root.children.push_back(VersionNode{"VarFileInfo", 1, 0, {}, {std::move(translation)}});
  }
  std::vector<uint8_t> b;
  AppendNode(root, &b);
  return b;
}

std::vector<uint8_t> BuildPeImage(const PeImageRecipe& recipe, std::vector<PeResourcePlace>* places) {
  const uint16_t optional_size = recipe.pe32_plus ? 240 : 224;
  const bool program = recipe.message.has_value() && !recipe.pe32_plus;
  const uint16_t sections = static_cast<uint16_t>(recipe.extra_sections + 1 + (program ? 1 : 0));
  const size_t section_table = kPeHeaderAt + 24 + optional_size;
  const size_t headers_size = RoundUp(section_table + sections * 40u, kFileAlignment);
  const size_t rsrc_at = headers_size > kRsrcFileOffset ? headers_size : kRsrcFileOffset;

  const std::vector<uint8_t> rsrc = ResourceSection(recipe, kRsrcRva, places);
  const uint32_t text_rva = kRsrcRva + static_cast<uint32_t>(RoundUp(rsrc.size(), kSectionAlignment));
  TextSection text;
  if (program) text = MessageProgramSection(*recipe.message, text_rva);
  const size_t text_at = rsrc_at + rsrc.size();
  uint32_t image_size = program ? text_rva + static_cast<uint32_t>(RoundUp(text.bytes.size(), kSectionAlignment))
                                : text_rva;
  if (recipe.extra_sections > 0) image_size = std::max(image_size, 0x8000u + recipe.extra_sections * 0x1000u);

  std::vector<uint8_t> b(text_at + text.bytes.size(), 0);
  b[0] = 'M';
  b[1] = 'Z';
  StoreU32(&b[0x3C], kPeHeaderAt);
  std::memcpy(&b[kPeHeaderAt], "PE\0\0", 4);
  const size_t coff = kPeHeaderAt + 4;
  StoreU16(&b[coff], recipe.pe32_plus ? 0x8664 : 0x14C);
  StoreU16(&b[coff + 2], sections);
  StoreU16(&b[coff + 16], optional_size);
  // Executable, no relocations (loaded at its image base); 32-bit or large-address aware.
  StoreU16(&b[coff + 18], recipe.pe32_plus ? 0x0023 : 0x0103);

  const size_t opt = kPeHeaderAt + 24;
  StoreU16(&b[opt], recipe.pe32_plus ? 0x20B : 0x10B);
  StoreU32(&b[opt + 4], static_cast<uint32_t>(text.bytes.size()));  // size of code
  StoreU32(&b[opt + 8], static_cast<uint32_t>(rsrc.size()));        // size of initialised data
  if (program) {
    StoreU32(&b[opt + 16], text_rva);  // entry point
    StoreU32(&b[opt + 20], text_rva);  // base of code
  }
  if (recipe.pe32_plus) {
    StoreU32(&b[opt + 24], kImageBase);
  } else {
    StoreU32(&b[opt + 24], kRsrcRva);  // base of data
    StoreU32(&b[opt + 28], kImageBase);
  }
  StoreU32(&b[opt + 32], kSectionAlignment);
  StoreU32(&b[opt + 36], kFileAlignment);
  StoreU16(&b[opt + 40], 4);  // operating system 4.0
  StoreU16(&b[opt + 48], 4);  // subsystem 4.0
  StoreU32(&b[opt + 56], image_size);
  StoreU32(&b[opt + 60], static_cast<uint32_t>(rsrc_at));  // size of the headers
  StoreU16(&b[opt + 68], 2);                               // Windows GUI
  const size_t stack_and_heap = opt + 72;
  const size_t field = recipe.pe32_plus ? 8 : 4;
  const uint32_t reserve_commit[] = {0x100000, 0x1000, 0x100000, 0x1000};
  for (size_t i = 0; i < 4; ++i) StoreU32(&b[stack_and_heap + i * field], reserve_commit[i]);
  const size_t count_at = opt + (recipe.pe32_plus ? 108 : 92);
  StoreU32(&b[count_at], 16);
  const size_t directories = count_at + 4;
  if (program) {
    StoreU32(&b[directories + 1 * 8], text.imports_rva);
    StoreU32(&b[directories + 1 * 8 + 4], text.imports_size);
    StoreU32(&b[directories + 12 * 8], text.iat_rva);
    StoreU32(&b[directories + 12 * 8 + 4], text.iat_size);
  }
  StoreU32(&b[directories + 2 * 8], kRsrcRva);
  StoreU32(&b[directories + 2 * 8 + 4], static_cast<uint32_t>(rsrc.size()));

  for (uint16_t i = 0; i < recipe.extra_sections; ++i) {  // small sections elsewhere in memory
    WriteSectionHeader(&b[section_table + i * 40u], ".data", 0x10, 0x8000 + i * 0x1000u, 0, 0, 0xC0000040);
  }
  const size_t s = section_table + recipe.extra_sections * 40u;
  const uint32_t rsrc_size = static_cast<uint32_t>(rsrc.size());
  WriteSectionHeader(&b[s], ".rsrc", rsrc_size, kRsrcRva, rsrc_size, static_cast<uint32_t>(rsrc_at), 0x40000040);
  if (program) {
    const uint32_t text_size = static_cast<uint32_t>(text.bytes.size());
    WriteSectionHeader(&b[s + 40], ".text", text_size, text_rva, text_size, static_cast<uint32_t>(text_at),
                       0x60000020);
  }
  std::memcpy(&b[rsrc_at], rsrc.data(), rsrc.size());
  if (places) {
    for (PeResourcePlace& p : *places) {
      for (size_t* at : {&p.type_entry, &p.type_directory, &p.id_entry, &p.language_directory, &p.language_entry,
                         &p.data_entry, &p.data}) {
        *at += rsrc_at;
      }
      if (p.type_name != 0) p.type_name += rsrc_at;
    }
  }
  if (program) std::memcpy(&b[text_at], text.bytes.data(), text.bytes.size());
  return b;
}

}  // namespace qm
