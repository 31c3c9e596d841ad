#pragma once
// The embedded engine's server mode for this process.

namespace zrv::db::fb {

// Makes the embedded engine of this process open database files shared, so
// that several programs (the window, `zorvit`, another workstation's tool on
// the same machine) can work on one file at once. The engine reads its mode
// once, from firebird.conf in the folder $FIREBIRD names, when it first starts;
// an attachment's own configuration cannot change it. This finds the
// installation's root when the program runs (FbEngineRoot.h), points FIREBIRD
// to a private folder that mirrors it and whose firebird.conf takes the
// installation's settings and adds ServerMode = SuperClassic. Runs once per
// process, before the first call into the engine; when no root is found or the
// folder cannot be made safely, the engine keeps its default (exclusive) mode
// and the message goes where SetEngineModeReport (Firebird.h) says.
void PrepareEmbeddedEngine();

}  // namespace zrv::db::fb
