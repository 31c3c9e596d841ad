#pragma once
// An attach that gives up after the wait limit. An attach has no handle yet
// that fb_cancel_operation could abort, and Firebird 3 offers no time-out for
// it on the embedded engine: one that must wait for the locks of a process
// that is stopped waits without end (fb_shutdown from another thread waits as
// well). The attach therefore runs on a thread of its own; when it has not
// returned within the limit it is left there and the caller gets
// NoAnswerError. A late success is detached by that thread.
//
// To a server the attach also carries isc_dpb_connect_timeout with the limit,
// which the client library applies to the whole handshake: a frozen server
// then ends the attach by itself with "connection rejected by remote
// interface" after the limit, and the thread is not left behind.

#include <ibase.h>

#include <string>

#include "platform/db/firebird/FbSession.h"

namespace zrv::db::fb {

// Attaches with the parameter block (the connect time-out is added here for a
// server). Throws NoAnswerError when no answer came within limitSeconds (the
// message names the database), the StatusError of a refused attach otherwise.
isc_db_handle AttachWithin(const std::string& path, Dpb dpb, int limitSeconds);

}  // namespace zrv::db::fb
