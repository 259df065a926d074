// Where a game installation keeps its data: the game folder and its three H4R archives.
//
//   qm::GamePaths paths = qm::GamePathsForFolder("C:\\Games\\Heroes4");
//   paths.game_folder      "C:\Games\Heroes4\"             (ends with a separator once set)
//   paths.base_archive     "...\DATA\HEROES4.H4R"          (built whether or not it exists)
//   paths.working_archive  "...\DATA\UPDATES.H4R" if present, else "...\DATA\HEROES4.H4R" if
//                          present, else empty; every save and wipe goes here
//   paths.text_archive     "...\DATA\TEXT.H4R" if present, else empty
//
// Loads look in the working archive first: the hero table falls back to the text archive,
// each portrait bundle to the base archive. A working archive chosen by the user (the PATCH
// button, qlmk --archive) simply replaces working_archive.
//
// Windows joins with backslashes and lets the file system fold case. Other hosts join with
// '/' and find the DATA folder and the archives without regard to ASCII case, since copies of
// the game on case-sensitive file systems spell them variously (Data/heroes4.h4r ...).
#pragma once

#include <string>
#include <string_view>

namespace qm {

constexpr const char* kDataFolderName = "DATA";
constexpr const char* kBaseArchiveName = "HEROES4.H4R";
constexpr const char* kUpdateArchiveName = "UPDATES.H4R";
constexpr const char* kTextArchiveName = "TEXT.H4R";

struct GamePaths {
  std::string game_folder;
  std::string base_archive;
  std::string working_archive;
  std::string text_archive;
};

// Fills the paths for a game folder by the rules above. An empty folder means the current
// directory.
GamePaths GamePathsForFolder(std::string_view folder);

// The path of `folder`/DATA/`file` if that file exists (names matched as the platform does, or
// without regard to ASCII case on case-sensitive hosts); empty when it does not.
std::string FindGameDataFile(const std::string& game_folder, std::string_view file);

// The path of a name relative to the game folder, as payloads give them ("DATA\UPDATES.H4R",
// either separator): joined with the platform's separator, each part that exists found as
// FindGameDataFile finds it, a part that does not exist kept as written. Call it only for
// names that stay inside the folder (base/path.h IsSafeRelativeName).
std::string GamePathOfName(const std::string& game_folder, std::string_view relative_name);

}  // namespace qm
