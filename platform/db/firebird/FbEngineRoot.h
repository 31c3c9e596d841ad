#pragma once
// Where the Firebird installation's root folder is (firebird.conf, firebird.msg,
// intl/, plugins/), found when the program runs rather than when it is built,
// so that one package works with the engine wherever the machine has it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zrv::db::fb {

// What the search looks at.
struct EngineRootClues {
  // $FIREBIRD as the user set it; empty when unset.
  std::string firebirdVariable;
  // The client library's file as this process loaded it; empty when unknown.
  std::filesystem::path clientLibrary;
  // The client library's version as "MAJOR.MINOR" (Debian keeps each engine
  // version's root in a folder of that name).
  std::string clientVersion;
  // Where the Firebird packages put the root, in the order to try.
  std::vector<std::filesystem::path> packageRoots;
};

// The file name of the private folders the programs make from the root: a
// $FIREBIRD naming one was set by a program of ours (this process's login
// library, or a parent program), not by the user.
inline constexpr char kPrivateRootPrefix[] = "zorvit-firebird-";

// The firebird.conf of a private folder made from `root`: the root's settings,
// then the server mode that lets several programs open one database file.
std::string PrivateConfigText(const std::filesystem::path& root);

// The first folder holding firebird.conf among: $FIREBIRD (the user's explicit
// choice; for a private folder of ours, the root its firebird.conf includes),
// the folders the client library's place points to (ROOT/lib/libfbclient.so as
// Firebird installs itself; LIBDIR/firebird/VERSION beside
// LIBDIR/libfbclient.so as Debian does), then the package roots. nullopt when
// none holds it.
std::optional<std::filesystem::path> FindEngineRoot(const EngineRootClues& clues);

// The clues of this process: $FIREBIRD, the client library found from the
// address of one of its functions, its version, and the roots of the Debian
// packages and of Firebird's own installer.
EngineRootClues ThisProcessClues();

}  // namespace zrv::db::fb
