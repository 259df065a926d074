// The runner's sharing and backup verbs: game versions, the editor's RESTORE marker, programs
// started from the work folder, remembered files, and checks of appended payloads and of the
// archives a patch went into (through the core library, independently of the programs).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/h4r_reader.h"
#include "archive/payload.h"
#include "base/registry_win32.h"
#include "tests/e2e/driver/scenario_runner_win32.h"
#include "tests/e2e/driver/windows_win32.h"

namespace qm::e2e {
namespace {

constexpr char kSettingsKey[] = "Software\\New World Computing\\QUILLMARK";
constexpr char kMarkerValue[] = "RESTORE";
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;

bool Fail(std::string& why, const std::string& text) {
  why = text;
  return false;
}

std::optional<std::vector<uint8_t>> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

void WriteU32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

std::string TimeText(const FILETIME& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%08lX%08lX", static_cast<unsigned long>(t.dwHighDateTime),
                static_cast<unsigned long>(t.dwLowDateTime));
  return text;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwHighDateTime == b.dwHighDateTime && a.dwLowDateTime == b.dwLowDateTime;
}

}  // namespace

bool ScenarioRunner::SetGameVersion(const Step& s, std::string& why) {
  unsigned a = 0, b = 0, c = 0, d = 0;
  char end = 0;
  if (std::sscanf(s.args[1].c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &end) != 4 || a > 0xFFFF ||
      b > 0xFFFF || c > 0xFFFF || d > 0xFFFF) {
    return Fail(why, "not a version A.B.C.D: " + s.args[1]);
  }
  const std::string path = WorkPath(s.args[0]);
  std::optional<std::vector<uint8_t>> bytes = ReadAll(path);
  if (!bytes) return Fail(why, "cannot read " + path);
  // VS_FIXEDFILEINFO: signature, structure version, file version MS/LS, product version MS/LS.
  for (size_t at = 0; at + 24 <= bytes->size(); at += 4) {
    if (ReadU32(*bytes, at) != kFixedInfoSignature) continue;
    const uint32_t ms = a << 16 | b, ls = c << 16 | d;
    WriteU32(&*bytes, at + 8, ms);
    WriteU32(&*bytes, at + 12, ls);
    WriteU32(&*bytes, at + 16, ms);
    WriteU32(&*bytes, at + 20, ls);
    return WriteAll(path, *bytes) || Fail(why, "cannot write " + path);
  }
  return Fail(why, path + " has no version block");
}

bool ScenarioRunner::SetMarker(const Step& s, std::string& why) {
  const RegistryKey key = CreateRegistryKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS);
  if (!key) return Fail(why, "cannot open the settings key");
  if (s.args[0] == "none") {
    const LONG result = RegDeleteValueA(key.get(), kMarkerValue);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ||
           Fail(why, "cannot delete the marker");
  }
  return WriteRegistryText(key, kMarkerValue, s.args[0]) || Fail(why, "cannot write the marker");
}

bool ScenarioRunner::ExpectMarker(const Step& s, std::string& why) {
  const RegistryKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_READ);
  const std::optional<std::string> text = key ? ReadRegistryText(key, kMarkerValue, 255) : std::nullopt;
  const std::string shown = text ? "\"" + *text + "\"" : "none";
  if (s.args[0] == "none") return !text || Fail(why, "the marker is " + shown);
  return (text && *text == s.args[0]) || Fail(why, "the marker is " + shown);
}

bool ScenarioRunner::DeleteAFile(const Step& s, std::string& why) {
  const std::string path = WorkPath(s.args[0]);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) || Fail(why, "cannot delete " + path + ": " + LastErrorText());
}

bool ScenarioRunner::ExpectNoFile(const Step& s, std::string& why) {
  const std::string path = WorkPath(s.args[0]);
  WIN32_FIND_DATAA found;
  const FindHandle search(FindFirstFileA(path.c_str(), &found));
  if (!search) return true;
  return Fail(why, std::string("there is ") + found.cFileName);
}

bool ScenarioRunner::RememberFile(const Step& s, std::string& why) {
  const std::string path = WorkPath(s.args[1]);
  RememberedFile file;
  std::optional<std::vector<uint8_t>> bytes = ReadAll(path);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!bytes || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return Fail(why, "cannot read " + path);
  }
  file.bytes = std::move(*bytes);
  file.creation = data.ftCreationTime;
  file.last_write = data.ftLastWriteTime;
  files_[s.args[0]] = std::move(file);
  paths_[s.args[0]] = path;
  return true;
}

bool ScenarioRunner::ExpectFileSame(const Step& s, std::string& why) {
  const auto it = files_.find(s.args[0]);
  if (it == files_.end()) return Fail(why, "no remembered file " + s.args[0]);
  std::optional<std::vector<uint8_t>> now = ReadAll(paths_[s.args[0]]);
  if (!now) return Fail(why, "cannot read " + paths_[s.args[0]]);
  return *now == it->second.bytes ||
         Fail(why, paths_[s.args[0]] + " changed (" + std::to_string(it->second.bytes.size()) +
                       " bytes before, " + std::to_string(now->size()) + " now)");
}

bool ScenarioRunner::ExpectFileChanged(const Step& s, std::string& why) {
  const auto it = files_.find(s.args[0]);
  if (it == files_.end()) return Fail(why, "no remembered file " + s.args[0]);
  std::optional<std::vector<uint8_t>> now = ReadAll(paths_[s.args[0]]);
  return (now && *now != it->second.bytes) || Fail(why, paths_[s.args[0]] + " did not change");
}

bool ScenarioRunner::ExpectFileTimes(const Step& s, std::string& why) {
  const auto it = files_.find(s.args[0]);
  if (it == files_.end()) return Fail(why, "no remembered file " + s.args[0]);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(paths_[s.args[0]].c_str(), GetFileExInfoStandard, &data)) {
    return Fail(why, "cannot read the times of " + paths_[s.args[0]]);
  }
  if (!SameTime(data.ftLastWriteTime, it->second.last_write)) {
    return Fail(why, "last-write time " + TimeText(data.ftLastWriteTime) + ", remembered " +
                         TimeText(it->second.last_write));
  }
  return SameTime(data.ftCreationTime, it->second.creation) ||
         Fail(why, "creation time " + TimeText(data.ftCreationTime) + ", remembered " +
                       TimeText(it->second.creation));
}

bool ScenarioRunner::ExpectPayload(const Step& s, std::string& why) {
  PayloadReader reader;
  const Status opened = PayloadReader::Open(WorkPath(s.args[0]), &reader);
  if (!opened.ok()) return Fail(why, opened.why());
  const std::vector<PayloadRecord>& records = reader.records();
  std::string names;
  for (const PayloadRecord& r : records) names += " " + r.name;
  if (std::to_string(records.size()) != s.args[1]) {
    return Fail(why, std::to_string(records.size()) + " records:" + names);
  }
  for (size_t i = 2; i < s.args.size(); ++i) {
    if (records[i - 2].name != s.args[i]) return Fail(why, "records are" + names);
  }
  return true;
}

bool ScenarioRunner::ExpectStubOf(const Step& s, std::string& why) {
  const std::string path = WorkPath(s.args[0]);
  std::optional<std::vector<uint8_t>> file = ReadAll(path);
  std::optional<std::vector<uint8_t>> program = ReadAll(ProgramPath(s.args[1]));
  if (!file || !program) return Fail(why, "cannot read " + path + " or " + s.args[1]);
  if (file->size() < program->size() ||
      !std::equal(program->begin(), program->end(), file->begin())) {
    return Fail(why, path + " does not begin with " + s.args[1]);
  }
  PayloadReader reader;
  const Status opened = PayloadReader::Open(path, &reader);
  if (!opened.ok()) return Fail(why, opened.why());
  return reader.directory_offset() == program->size() ||
         Fail(why, "the payload starts at " + std::to_string(reader.directory_offset()));
}

bool ScenarioRunner::ExpectPayloadBlob(const Step& s, std::string& why) {
  const auto it = files_.find(s.args[2]);
  if (it == files_.end()) return Fail(why, "no remembered file " + s.args[2]);
  PayloadReader reader;
  const Status opened = PayloadReader::Open(WorkPath(s.args[0]), &reader);
  if (!opened.ok()) return Fail(why, opened.why());
  const PayloadRecord* record = reader.Find(s.args[1]);
  if (record == nullptr) return Fail(why, "no record " + s.args[1]);
  std::vector<uint8_t> blob;
  const Status read = reader.ReadBlob(*record, &blob);
  if (!read.ok()) return Fail(why, read.why());
  return blob == it->second.bytes || Fail(why, "the blob differs from " + s.args[2]);
}

bool ScenarioRunner::ExpectEntriesSame(const Step& s, std::string& why) {
  PayloadReader reader;
  const Status opened = PayloadReader::Open(WorkPath(s.args[2]), &reader);
  if (!opened.ok()) return Fail(why, opened.why());
  for (const PayloadRecord& r : reader.records()) {
    std::vector<uint8_t> a, b;
    const Status sa = LoadEntry(WorkPath(s.args[0]), r.name, &a);
    const Status sb = LoadEntry(WorkPath(s.args[1]), r.name, &b);
    if (!sa.ok()) return Fail(why, s.args[0] + ": " + sa.why());
    if (!sb.ok()) return Fail(why, s.args[1] + ": " + sb.why());
    if (a != b) return Fail(why, r.name + " differs");
  }
  return !reader.records().empty() || Fail(why, "the payload is empty");
}

}  // namespace qm::e2e
