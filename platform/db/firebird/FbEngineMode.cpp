#include "platform/db/firebird/FbEngineMode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <string>
#include <utility>

#include "common/SystemErrorText.h"
#include "platform/db/Firebird.h"
#include "platform/db/firebird/FbEngineRoot.h"

namespace zrv::db::fb {

namespace {

namespace fs = std::filesystem;

const char kConfigName[] = "firebird.conf";
// The character-set module is loaded only from a real file under the root
// folder (a link to the installation's is not taken): it is copied.
const char kIntlFolder[] = "intl";
const char kIntlModule[] = "libfbintl.so";

// What the user reads when database files cannot be shared: the cause, then
// what follows from it.
const char kNoRoot[] =
    "Папката на Firebird (с firebird.conf) не е намерена нито в $FIREBIRD, "
    "нито до клиентската библиотека libfbclient, нито в папките на пакетите "
    "на Firebird.";
const char kFolderNotPrivate[] = "%s не е папка само на този потребител и не се използва.";
const char kNoTemporaryFolder[] = "Временната папка ($TMPDIR) не може да се използва (";
const char kFolderFailed[] = "Личната папка на Firebird не може да се подготви: ";
const char kConsequence[] =
    " Вградената база данни ще се отваря само от една програма наведнъж "
    "(прозорецът и командата zorvit не могат да работят едновременно с един "
    "файл).";

std::mutex reportLock;
EngineModeReport& Report() {
  static EngineModeReport report = [](const std::string& text) { std::cerr << text << std::endl; };
  return report;
}

std::string WithFolder(const char* format, const std::string& folder) {
  std::string text = format;
  text.replace(text.find("%s"), 2, folder);
  return text;
}

void Tell(const std::string& cause) {
  EngineModeReport report;
  {
    std::lock_guard<std::mutex> hold(reportLock);
    report = Report();
  }
  if (report) report(cause + kConsequence);
}

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
    if (!out) throw fs::filesystem_error("write", part, std::make_error_code(std::errc::io_error));
  }
  fs::rename(part, file);
}

// Links `link` to `target` unless that link is there already (made by another
// program of ours starting at the same moment, or by an earlier one). A link
// to another root (the root found changed since) is replaced in one step.
void LinkOnce(const fs::path& target, const fs::path& link) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(link)) && fs::read_symlink(link, error) == target) return;
  const fs::path part = PartName(link);
  fs::remove(part, error);
  fs::create_symlink(target, part);
  fs::rename(part, link);
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
  WriteAtomically(folder / kConfigName, PrivateConfigText(root));
  return true;
}

void Prepare() {
  const std::optional<fs::path> root = FindEngineRoot(ThisProcessClues());
  if (!root) {
    Tell(kNoRoot);
    return;
  }
  std::error_code error;
  const fs::path temporary = fs::temp_directory_path(error);
  if (error) {
    Tell(kNoTemporaryFolder + SystemErrorText(error.value()) + ").");
    return;
  }
  try {
    const fs::path folder = temporary / (kPrivateRootPrefix + std::to_string(geteuid()));
    if (!MakePrivateRoot(*root, folder)) {
      Tell(WithFolder(kFolderNotPrivate, folder.string()));
      return;
    }
    setenv("FIREBIRD", folder.c_str(), 1);
  } catch (const fs::filesystem_error& e) {
    // The engine then runs in its default mode: every program still works,
    // only not two at once on one file.
    Tell(kFolderFailed + e.path1().string() + " (" + SystemErrorText(e.code().value()) + ").");
  }
}

}  // namespace

void PrepareEmbeddedEngine() {
  static std::once_flag once;
  std::call_once(once, Prepare);
}

}  // namespace zrv::db::fb

namespace zrv::db {

void SetEngineModeReport(EngineModeReport report) {
  std::lock_guard<std::mutex> hold(fb::reportLock);
  fb::Report() = std::move(report);
}

}  // namespace zrv::db
