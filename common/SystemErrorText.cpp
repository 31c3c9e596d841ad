#include "common/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace zrv {

namespace {

struct Reason {
  int errorNumber;
  const char* text;
};

const Reason kReasons[] = {
    {ENOENT, "няма такъв файл или папка"},
    {EACCES, "няма право на достъп"},
    {EPERM, "операцията не е разрешена"},
    {EROFS, "файловата система е само за четене"},
    {ENOSPC, "няма свободно място на диска"},
    {EDQUOT, "квотата на диска е изчерпана"},
    {EISDIR, "това е папка"},
    {ENOTDIR, "част от пътя не е папка"},
    {ENAMETOOLONG, "името е твърде дълго"},
    {EEXIST, "файлът вече съществува"},
    {EIO, "входно-изходна грешка"},
    {EMFILE, "отворени са твърде много файлове"},
};

}  // namespace

std::string SystemErrorText(int errorNumber) {
  for (const auto& reason : kReasons) {
    if (reason.errorNumber == errorNumber) return reason.text;
  }
  return "системна грешка " + std::to_string(errorNumber) + " (" + std::strerror(errorNumber) + ")";
}

}  // namespace zrv
