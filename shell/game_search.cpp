#include "shell/game_search.h"

#include "base/path.h"

namespace qm {
namespace {

std::string Bounded(std::string text) {
  if (text.size() > kGamePathMaxChars) text.resize(kGamePathMaxChars);
  return text;
}

bool Probe(const GameSearchHost& host, const std::string& folder, GameSearch* result) {
  result->folder = folder;
  result->found = DetectGameHere(host, &result->version);
  return result->found;
}

}  // namespace

bool DetectGameHere(const GameSearchHost& host, float* version) {
  const bool plain = host.exists(kGameExecutable);
  const bool korean = host.exists(kGameExecutableKorean);
  if (plain) *version = host.read_version(kGameExecutable);
  if (korean) *version = host.read_version(kGameExecutableKorean);
  return plain || korean;
}

GameSearch LocateGame(const GameSearchHost& host) {
  GameSearch result;
  if (Probe(host, Bounded(host.current_directory()), &result)) return result;

  std::string own = Bounded(host.program_path());
  const size_t slash = own.find_last_of('\\');
  own.resize(slash == std::string::npos ? 0 : slash + 1);
  result.folder = own;
  if (host.set_current_directory(own) && Probe(host, own, &result)) return result;

  for (const char* key : kGameRegistryKeys) {
    std::optional<std::string> app_path = host.read_machine_value(key, kAppPathValue);
    if (!app_path) continue;
    // The folder keeps the last path read even when it leads nowhere.
    std::string folder = Bounded(std::move(*app_path));
    result.folder = folder;
    if (!host.set_current_directory(folder)) continue;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (Probe(host, folder, &result)) return result;
  }
  result.found = false;
  return result;
}

GameSearch LocateStubGame(const GameSearchHost& host, std::span<const char* const> keys,
                          bool try_parent_folder) {
  GameSearch result;
  const auto found_in = [&](const std::string& folder) {
    if (!host.exists(kGameExecutable)) return false;
    // The host reports Windows paths, whatever system the search runs on.
    result.folder = Bounded(WithTrailingSeparator(folder, '\\'));
    result.found = !result.folder.empty();
    return result.found;
  };
  if (found_in(Bounded(host.current_directory()))) return result;

  std::string own = Bounded(host.program_path());
  const size_t slash = own.find_last_of('\\');
  own.resize(slash == std::string::npos ? 0 : slash + 1);
  if (host.set_current_directory(own) && found_in(own)) return result;

  if (try_parent_folder && own.size() > 1) {
    const size_t up = own.find_last_of('\\', own.size() - 2);
    if (up != std::string::npos) {
      const std::string parent = own.substr(0, up + 1);
      if (host.set_current_directory(parent) && found_in(parent)) return result;
    }
  }

  for (const char* key : keys) {
    std::optional<std::string> app_path = host.read_machine_value(key, kAppPathValue);
    if (!app_path) continue;
    std::string folder = Bounded(std::move(*app_path));
    if (!host.set_current_directory(folder)) continue;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (found_in(folder)) return result;
  }
  return GameSearch{};
}

std::vector<std::string> NetworkNames(const GameSearchHost& host) {
  std::vector<std::string> names;
  for (const char* key : kGameRegistryKeys) {
    if (std::optional<std::string> name = host.read_machine_value(key, kNetworkNameValue)) {
      if (name->size() > kDisplayNameMaxChars) name->resize(kDisplayNameMaxChars);
      names.push_back(std::move(*name));
    }
  }
  return names;
}

}  // namespace qm
