#include "heroes/game_paths.h"

#include "base/path.h"
#include "heroes/game_files.h"

namespace qm {

std::string FindGameDataFile(const std::string& game_folder, std::string_view file) {
  const std::string data = FindInFolder(game_folder, kDataFolderName);
  if (data.empty()) return std::string();
  return FindInFolder(WithTrailingSeparator(data), file);
}

std::string GamePathOfName(const std::string& game_folder, std::string_view relative_name) {
  std::string path = WithTrailingSeparator(game_folder);
  size_t start = 0;
  for (;;) {
    const size_t end = relative_name.find_first_of("\\/", start);
    const std::string_view part =
        relative_name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!part.empty()) {
      const std::string found = FindInFolder(path, part);
      path = found.empty() ? path + std::string(part) : found;
    }
    if (end == std::string_view::npos) return path;
    if (!part.empty()) path += kPathSeparator;
    start = end + 1;
  }
}

GamePaths GamePathsForFolder(std::string_view folder) {
  GamePaths paths;
  paths.game_folder = folder.empty() ? std::string(".") + kPathSeparator : WithTrailingSeparator(folder);

  // The base archive's path is built even when the file is missing: it is only ever read.
  const std::string base = FindGameDataFile(paths.game_folder, kBaseArchiveName);
  paths.base_archive = !base.empty() ? base
                                     : paths.game_folder + kDataFolderName + kPathSeparator + kBaseArchiveName;

  paths.working_archive = FindGameDataFile(paths.game_folder, kUpdateArchiveName);
  if (paths.working_archive.empty()) paths.working_archive = base;
  paths.text_archive = FindGameDataFile(paths.game_folder, kTextArchiveName);
  return paths;
}

}  // namespace qm
