#include "tests/power_cut.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>

#include "archive/h4r_reader.h"
#include "base/ascii.h"
#include "base/file.h"
#include "tests/test_util.h"

namespace qm::test {

namespace {

constexpr uint64_t kSectorSize = 512;

struct Event {
  enum Kind { kWrite, kTruncate, kSync, kCreate, kRename, kRemove, kFolderSync };
  Kind kind = kWrite;
  int inode = -1;
  uint64_t offset = 0;
  std::vector<uint8_t> bytes;
  std::string from, to;  // relative names, for the name changes
};

using Files = std::map<std::string, std::vector<uint8_t>>;

bool IsScratchName(const std::string& relative) {
  const size_t slash = relative.rfind('/');
  const std::string name = relative.substr(slash == std::string::npos ? 0 : slash + 1);
  if (AsciiEqualNoCase(name, "H4R.$$$")) return true;
  return AsciiStartsWithNoCase(name, "QLM") && !AsciiEqualNoCase(name, "QLMKSFX.EXE");
}

void Apply(std::vector<uint8_t>* data, uint64_t offset, const uint8_t* bytes, size_t n) {
  if (data->size() < offset + n) data->resize(static_cast<size_t>(offset + n), 0);
  std::copy(bytes, bytes + n, data->begin() + static_cast<std::ptrdiff_t>(offset));
}

Files ReadTree(const std::filesystem::path& root) {
  Files files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::string relative = entry.path().lexically_relative(root).generic_string();
#ifdef _WIN32
    for (char& c : relative) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
    files[relative] = ReadFileBytes(entry.path().string());
  }
  return files;
}

}  // namespace

struct PowerCut::Model : recording::Observer {
  std::filesystem::path root;
  std::string root_key;
  Files before, after;
  std::set<std::string> archives;
  std::map<std::string, std::optional<std::string>> digests;  // cache for before and after

  // The snapshot the replay starts from.
  std::map<std::string, int> initial_names;
  std::map<int, std::vector<uint8_t>> initial_data;

  // While recording: names and streams as they stand.
  std::map<std::string, int> names;
  std::map<std::FILE*, int> streams;
  std::vector<Event> events;
  int next_inode = 0;

  test::TempDir scratch;

  std::optional<std::string> Relative(const std::string& path) const {
    std::string key = std::filesystem::absolute(std::filesystem::path(path)).lexically_normal().generic_string();
#ifdef _WIN32
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
    if (key.size() <= root_key.size() || key.compare(0, root_key.size(), root_key) != 0 ||
        key[root_key.size()] != '/') {
      return std::nullopt;
    }
    return key.substr(root_key.size() + 1);
  }

  int NewFile(const std::string& relative) {
    const int inode = next_inode++;
    names[relative] = inode;
    Event e;
    e.kind = Event::kCreate;
    e.inode = inode;
    e.to = relative;
    events.push_back(std::move(e));
    return inode;
  }

  void Opened(std::FILE* stream, const std::string& path, bool truncated) override {
    const std::optional<std::string> relative = Relative(path);
    if (!relative) return;
    const auto known = names.find(*relative);
    const int inode = known != names.end() ? known->second : NewFile(*relative);
    if (truncated && known != names.end()) {
      Event e;
      e.kind = Event::kTruncate;
      e.inode = inode;
      events.push_back(std::move(e));
    }
    streams[stream] = inode;
  }

  void Closed(std::FILE* stream) override { streams.erase(stream); }

  void Wrote(std::FILE* stream, uint64_t offset, const void* data, size_t n) override {
    const auto s = streams.find(stream);
    if (s == streams.end()) return;
    Event e;
    e.kind = Event::kWrite;
    e.inode = s->second;
    e.offset = offset;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    e.bytes.assign(bytes, bytes + n);
    events.push_back(std::move(e));
  }

  void Synced(std::FILE* stream) override {
    const auto s = streams.find(stream);
    if (s == streams.end()) return;
    Event e;
    e.kind = Event::kSync;
    e.inode = s->second;
    events.push_back(std::move(e));
  }

  void Created(const std::string& path) override {
    if (const std::optional<std::string> relative = Relative(path)) NewFile(*relative);
  }

  void Renamed(const std::string& from, const std::string& to) override {
    const std::optional<std::string> f = Relative(from), t = Relative(to);
    if (!f || !t || !names.count(*f)) return;
    names[*t] = names[*f];
    names.erase(*f);
    Event e;
    e.kind = Event::kRename;
    e.from = *f;
    e.to = *t;
    events.push_back(std::move(e));
  }

  void Removed(const std::string& path) override {
    const std::optional<std::string> relative = Relative(path);
    if (!relative || !names.erase(*relative)) return;
    Event e;
    e.kind = Event::kRemove;
    e.from = *relative;
    events.push_back(std::move(e));
  }

  void FolderSynced(const std::string&) override {
    Event e;
    e.kind = Event::kFolderSync;
    events.push_back(std::move(e));
  }

  // The archive's records (all but their data offsets) and contents, or why it cannot be read.
  std::string Digest(const std::optional<std::vector<uint8_t>>& bytes) {
    if (!bytes) return "missing";
    const std::string path = scratch.File("archive.h4r");
    WriteFileBytes(path, *bytes);
    Archive archive;
    Directory directory;
    if (Status s = Archive::Open(path, Archive::Access::kRead, &archive); !s) return "unreadable: " + s.why();
    if (Status s = archive.ReadDirectory(&directory); !s) return "unreadable: " + s.why();
    std::string digest = std::to_string(directory.count) + "\n";
    for (const FoundEntry& e : directory.entries) {
      const EntryRecord& r = e.record;
      std::vector<uint8_t> content;
      if (Status s = archive.ReadPayload(r, &content); !s) return "unreadable: " + s.why();
      digest += r.name + "|" + r.second + "|" + r.third + "|" + std::to_string(r.stored_size) + "|" +
                std::to_string(r.content_size) + "|" + std::to_string(r.time_stamp) + "|" +
                std::to_string(r.trailing_word) + "|";
      digest.append(content.begin(), content.end());
      digest += "\n";
    }
    return digest;
  }

  std::optional<std::vector<uint8_t>> Find(const Files& files, const std::string& relative) {
    const auto it = files.find(relative);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }

  const std::string& CachedDigest(const std::string& key, const Files& files, const std::string& relative) {
    auto& slot = digests[key + relative];
    if (!slot) slot = Digest(Find(files, relative));
    return *slot;
  }

  // Empty when every file of the state is old or new.
  std::string Check(const Files& state) {
    std::set<std::string> paths;
    for (const Files* f : std::initializer_list<const Files*>{&before, &after, &state}) {
      for (const auto& [name, bytes] : *f) paths.insert(name);
    }
    for (const std::string& path : paths) {
      if (IsScratchName(path)) continue;
      const std::optional<std::vector<uint8_t>> now = Find(state, path);
      if (archives.count(path)) {
        const std::string digest = Digest(now);
        if (digest == CachedDigest("before:", before, path) || digest == CachedDigest("after:", after, path)) continue;
        return path + " holds neither the old entries nor the new ones (" + digest.substr(0, 80) + ")";
      }
      if (now == Find(before, path) || now == Find(after, path)) continue;
      return path + (now ? " holds neither its old bytes nor its new ones" : " is missing");
    }
    return {};
  }
};

PowerCut::PowerCut(const std::filesystem::path& folder) : model_(std::make_unique<Model>()) {
  Model& m = *model_;
  m.root = std::filesystem::absolute(folder).lexically_normal();
  m.root_key = m.root.generic_string();
  while (m.root_key.size() > 1 && m.root_key.back() == '/') m.root_key.pop_back();
#ifdef _WIN32
  for (char& c : m.root_key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
  m.before = ReadTree(m.root);
  for (const auto& [name, bytes] : m.before) {
    const int inode = m.next_inode++;
    m.initial_names[name] = inode;
    m.initial_data[inode] = bytes;
  }
  m.names = m.initial_names;
}

PowerCut::~PowerCut() {
  if (recording::Installed() == model_.get()) recording::Install(nullptr);
}

void PowerCut::TreatAsArchive(const std::string& relative) {
  std::string key = relative;
#ifdef _WIN32
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
  model_->archives.insert(key);
}

size_t PowerCut::events() const { return model_->events.size(); }

Status PowerCut::Record(const std::function<Status()>& operation) {
  recording::Install(model_.get());
  const Status s = operation();
  recording::Install(nullptr);
  model_->after = ReadTree(model_->root);
  return s;
}

PowerCut::Tally PowerCut::CheckEveryStep(size_t random_states, uint32_t seed) {
  if (const char* env = std::getenv("QM_POWER_CUT_STATES")) random_states = std::strtoul(env, nullptr, 10);
  Model& m = *model_;
  std::mt19937 rng(seed);
  Tally tally;
  for (size_t step = 0; step <= m.events.size(); ++step) {
    // What is on the disk for certain at this step, and what may or may not be.
    std::map<std::string, int> names = m.initial_names;
    std::map<int, std::vector<uint8_t>> data = m.initial_data;
    std::map<int, std::vector<const Event*>> unsynced;
    std::vector<const Event*> name_changes;
    auto apply_name_change = [](std::map<std::string, int>* n, const Event& e) {
      if (e.kind == Event::kCreate) {
        (*n)[e.to] = e.inode;
      } else if (e.kind == Event::kRename) {
        const auto from = n->find(e.from);
        if (from == n->end()) return;
        (*n)[e.to] = from->second;
        n->erase(e.from);
      } else {
        n->erase(e.from);
      }
    };
    auto apply_write = [](std::vector<uint8_t>* d, const Event& e) {
      if (e.kind == Event::kTruncate) {
        d->clear();
      } else {
        Apply(d, e.offset, e.bytes.data(), e.bytes.size());
      }
    };
    for (size_t i = 0; i < step; ++i) {
      const Event& e = m.events[i];
      switch (e.kind) {
        case Event::kWrite:
        case Event::kTruncate: unsynced[e.inode].push_back(&e); break;
        case Event::kSync:
          for (const Event* w : unsynced[e.inode]) apply_write(&data[e.inode], *w);
          unsynced.erase(e.inode);
          break;
        case Event::kFolderSync:
          for (const Event* n : name_changes) apply_name_change(&names, *n);
          name_changes.clear();
          break;
        default: name_changes.push_back(&e); break;
      }
    }
    ++tally.steps;
    const size_t variants = 2 + random_states;
    for (size_t v = 0; v < variants; ++v) {
      std::map<std::string, int> n = names;
      std::map<int, std::vector<uint8_t>> d = data;
      const bool none = v == 0, all = v == 1;
      for (const auto& [inode, writes] : unsynced) {
        for (const Event* w : writes) {
          const unsigned how = none ? 0 : all ? 1 : rng() % 3;  // dropped, whole, torn
          if (how == 0) continue;
          if (how == 1 || w->kind == Event::kTruncate) {
            apply_write(&d[inode], *w);
            continue;
          }
          for (uint64_t at = 0; at < w->bytes.size();) {
            const uint64_t sector_end = (w->offset + at) / kSectorSize * kSectorSize + kSectorSize;
            const uint64_t piece = std::min<uint64_t>(sector_end - (w->offset + at), w->bytes.size() - at);
            if (rng() % 2) Apply(&d[inode], w->offset + at, w->bytes.data() + at, static_cast<size_t>(piece));
            at += piece;
          }
        }
      }
      const size_t kept = none ? 0 : all ? name_changes.size() : rng() % (name_changes.size() + 1);
      for (size_t i = 0; i < kept; ++i) apply_name_change(&n, *name_changes[i]);
      Files state;
      for (const auto& [name, inode] : n) state[name] = d[inode];
      ++tally.states;
      const std::string why = m.Check(state);
      if (!why.empty() && tally.failures++ == 0) {
        tally.first_failure =
            "power cut before change " + std::to_string(step) + " of " + std::to_string(m.events.size()) + ": " + why;
      }
    }
  }
  // With every change applied the model must match the files as the operation left them, or
  // the recorder missed a change.
  std::map<std::string, int> names = m.initial_names;
  std::map<int, std::vector<uint8_t>> data = m.initial_data;
  for (const Event& e : m.events) {
    if (e.kind == Event::kWrite) Apply(&data[e.inode], e.offset, e.bytes.data(), e.bytes.size());
    if (e.kind == Event::kTruncate) data[e.inode].clear();
    if (e.kind == Event::kCreate) names[e.to] = e.inode;
    if (e.kind == Event::kRename && names.count(e.from)) {
      names[e.to] = names[e.from];
      names.erase(e.from);
    }
    if (e.kind == Event::kRemove) names.erase(e.from);
  }
  Files modelled;
  for (const auto& [name, inode] : names) {
    if (!IsScratchName(name)) modelled[name] = data[inode];
  }
  for (const auto& [name, bytes] : m.after) {
    if (IsScratchName(name) || (modelled.count(name) && modelled[name] == bytes)) continue;
    ++tally.failures;
    if (tally.first_failure.empty()) tally.first_failure = "the record misses changes to " + name;
  }
  for (const auto& [name, bytes] : modelled) {
    if (m.after.count(name)) continue;
    ++tally.failures;
    if (tally.first_failure.empty()) tally.first_failure = "the record misses the removal of " + name;
  }
  return tally;
}

void PrintTally(const std::string& operation, const PowerCut::Tally& tally) {
  std::printf("power cut: %s: %zu states checked at %zu steps", operation.c_str(), tally.states, tally.steps);
  if (tally.failures > 0) std::printf(", %zu neither old nor new", tally.failures);
  std::printf("\n");
}

}  // namespace qm::test
