#include "platform/db/firebird/FbEngineRoot.h"

#include <dlfcn.h>
#include <ibase.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace zrv::db::fb {

namespace {

namespace fs = std::filesystem;

const char kConfigName[] = "firebird.conf";
const char kInclude[] = "include ";
const char kSharedMode[] = "ServerMode = SuperClassic\n";
const char kFirebirdVariable[] = "FIREBIRD";
const char kDebianRootFolder[] = "firebird";
const char kClientVersionMark[] = "Firebird ";
// Firebird's own installer puts everything under this folder.
const char kInstallerRoot[] = "/opt/firebird";

#ifdef ZRV_MULTIARCH
const char kMultiarch[] = ZRV_MULTIARCH;
#else
const char kMultiarch[] = "";
#endif

bool HoldsConfig(const fs::path& folder) {
  std::error_code error;
  return !folder.empty() && fs::is_regular_file(folder / kConfigName, error);
}

bool IsPrivateRoot(const fs::path& folder) {
  return folder.filename().string().rfind(kPrivateRootPrefix, 0) == 0;
}

// The root a private folder's firebird.conf includes on its first line;
// empty when the file is not one of ours.
fs::path MirroredRoot(const fs::path& folder) {
  std::ifstream in(folder / kConfigName);
  std::string line;
  if (!std::getline(in, line) || line.rfind(kInclude, 0) != 0) return {};
  const fs::path included = line.substr(sizeof kInclude - 1);
  if (included.filename() != kConfigName) return {};
  return included.parent_path();
}

// ROOT/lib/libfbclient.so (Firebird's layout) and
// LIBDIR/firebird/VERSION (Debian's), for the folder of the library's real
// file first and then for the folder it was loaded from.
std::vector<fs::path> LibraryRoots(const fs::path& library, const std::string& version) {
  std::vector<fs::path> folders;
  std::error_code error;
  const fs::path real = fs::canonical(library, error);
  if (!error) folders.push_back(real.parent_path());
  folders.push_back(library.parent_path());
  std::vector<fs::path> roots;
  for (const fs::path& folder : folders) {
    roots.push_back(folder.parent_path());
    if (!version.empty()) roots.push_back(folder / kDebianRootFolder / version);
  }
  return roots;
}

// "3.0" from the client's "LI-V6.3.11.33637 Firebird 3.0" (its major and
// minor numbers are InterBase's, 6.3, whatever the Firebird version).
std::string ClientVersion() {
  char text[256] = {};
  isc_get_client_version(text);
  const std::string version = text;
  const size_t at = version.find(kClientVersionMark);
  if (at == std::string::npos) return "";
  const std::string rest = version.substr(at + sizeof kClientVersionMark - 1);
  return rest.substr(0, rest.find(' '));
}

}  // namespace

std::string PrivateConfigText(const fs::path& root) {
  return kInclude + (root / kConfigName).string() + "\n" + kSharedMode;
}

std::optional<fs::path> FindEngineRoot(const EngineRootClues& clues) {
  std::vector<fs::path> candidates;
  fs::path chosen = fs::path(clues.firebirdVariable).lexically_normal();
  if (!chosen.empty() && !chosen.has_filename()) chosen = chosen.parent_path();
  if (IsPrivateRoot(chosen)) chosen = MirroredRoot(chosen);
  if (!chosen.empty()) candidates.push_back(chosen);
  if (!clues.clientLibrary.empty()) {
    for (const fs::path& root : LibraryRoots(clues.clientLibrary, clues.clientVersion))
      candidates.push_back(root);
  }
  candidates.insert(candidates.end(), clues.packageRoots.begin(), clues.packageRoots.end());
  // A private folder is never a root: mirroring it into itself would loop.
  for (const fs::path& candidate : candidates)
    if (HoldsConfig(candidate) && !IsPrivateRoot(candidate)) return candidate.lexically_normal();
  return std::nullopt;
}

EngineRootClues ThisProcessClues() {
  EngineRootClues clues;
  if (const char* set = std::getenv(kFirebirdVariable)) clues.firebirdVariable = set;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&isc_attach_database), &info) != 0 && info.dli_fname)
    clues.clientLibrary = info.dli_fname;
  clues.clientVersion = ClientVersion();
  // Debian's folders are named by the version: without it only Firebird's own.
  if (!clues.clientVersion.empty()) {
    if (kMultiarch[0] != '\0')
      clues.packageRoots.push_back(fs::path("/usr/lib") / kMultiarch / kDebianRootFolder /
                                   clues.clientVersion);
    clues.packageRoots.push_back(fs::path("/usr/lib") / kDebianRootFolder / clues.clientVersion);
  }
  clues.packageRoots.push_back(kInstallerRoot);
  return clues;
}

}  // namespace zrv::db::fb
