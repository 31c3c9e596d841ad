#include "platform/db/firebird/FbEngineMode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

namespace zrv::db::fb {

namespace {

namespace fs = std::filesystem;

#ifdef ZRV_FIREBIRD_ROOT
const char kInstallationRoot[] = ZRV_FIREBIRD_ROOT;
#else
const char kInstallationRoot[] = "";
#endif
const char kConfigName[] = "firebird.conf";
const char kFolderPrefix[] = "zorvit-firebird-";
const char kSharedMode[] = "ServerMode = SuperClassic\n";
// The character-set module is loaded only from a real file under the root
// folder (a link to the installation's is not taken): it is copied.
const char kIntlFolder[] = "intl";
const char kIntlModule[] = "libfbintl.so";

// A folder only this user can write, created when missing; false when it is
// someone else's or open to others (its firebird.conf would steer our engine).
bool OwnPrivateFolder(const fs::path& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

fs::path PartName(const fs::path& file) {
  return file.string() + "." + std::to_string(getpid()) + ".part";
}

// Writes the file under a name of its own and renames it into place, so a
// process starting at the same moment never reads half of it.
void WriteAtomically(const fs::path& file, const std::string& text) {
  const fs::path part = PartName(file);
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw fs::filesystem_error("write", part, std::error_code());
  }
  fs::rename(part, file);
}

// Links `link` to `target` unless a link is there already (made by another
// program of ours starting at the same moment, or by an earlier one).
void LinkOnce(const fs::path& target, const fs::path& link) {
  std::error_code error;
  fs::create_symlink(target, link, error);
  if (error && !fs::is_symlink(fs::symlink_status(link)))
    throw fs::filesystem_error("link", target, link, error);
}

// The installation's intl folder with its module copied and the rest linked.
void MirrorIntlFolder(const fs::path& from, const fs::path& to) {
  // Never write through a link into the installation itself.
  if (fs::is_symlink(fs::symlink_status(to))) fs::remove(to);
  fs::create_directories(to);
  for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
    const fs::path name = entry.path().filename();
    const fs::path target = to / name;
    if (name != kIntlModule) {
      LinkOnce(entry.path(), target);
      continue;
    }
    std::error_code error;
    if (fs::file_size(target, error) == fs::file_size(entry.path())) continue;
    const fs::path part = PartName(target);
    fs::copy_file(entry.path(), part, fs::copy_options::overwrite_existing);
    fs::rename(part, target);
  }
}

// Throws std::filesystem::filesystem_error when the folder cannot be made.
bool MakePrivateRoot(const fs::path& root, const fs::path& folder) {
  if (!OwnPrivateFolder(folder)) return false;
  for (const fs::directory_entry& entry : fs::directory_iterator(root)) {
    const fs::path name = entry.path().filename();
    if (name == kConfigName) continue;
    if (name == kIntlFolder) {
      MirrorIntlFolder(entry.path(), folder / name);
      continue;
    }
    LinkOnce(entry.path(), folder / name);
  }
  WriteAtomically(
      folder / kConfigName,
      "include " + (root / kConfigName).string() + "\n" + kSharedMode);
  return true;
}

void Prepare() {
  if (std::getenv("FIREBIRD") || kInstallationRoot[0] == '\0') return;
  const fs::path root = kInstallationRoot;
  std::error_code error;
  if (!fs::exists(root / kConfigName, error)) return;
  const fs::path folder = fs::temp_directory_path(error) /
                          (kFolderPrefix + std::to_string(geteuid()));
  try {
    if (MakePrivateRoot(root, folder)) setenv("FIREBIRD", folder.c_str(), 1);
  } catch (const std::exception&) {
    // The engine then runs in its default mode: every program still works,
    // only not two at once on one file.
  }
}

}  // namespace

void PrepareEmbeddedEngine() {
  static std::once_flag once;
  std::call_once(once, Prepare);
}

}  // namespace zrv::db::fb
