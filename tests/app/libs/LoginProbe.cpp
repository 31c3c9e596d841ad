// Runs one interactive login through libZrvLogin.so and prints the result, for
// the test that drives the terminal prompt through a pseudo-terminal.

#include <cstdio>

#include "app/LoginBinding.h"

int main() {
  zrv::TLogInfoRec record{};
  zrv::LoginLists lists;
  const bool accepted = zrv::Login("Imot", "prop_db", true, true, record, lists);
  std::printf("result=%d user=%d\n", accepted ? 1 : 0, record.UserID);
  return 0;
}
