#include "app/LoginBinding.h"

#include <dlfcn.h>

#include <filesystem>

#include "common/Error.h"
#include "common/Text.h"
#include "platform/login/LoginEntryPoints.h"

namespace zrv {

namespace {

const char* const kMissingLibrary = "Missing %s.";
// Room for the library's reason of a refusal.
constexpr size_t kProblemBytes = 2048;

// The loaded library for the length of one login; unloads it however the login
// ends.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& file)
      : handle_(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedLibrary() {
    if (handle_) dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }

  template <typename Fn>
  Fn Entry(const char* name) const {
    return reinterpret_cast<Fn>(dlsym(handle_, name));
  }

 private:
  void* handle_;
};

std::string FileNameOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

// Texts handed to the library are Windows-1251.
std::string ToLibraryText(const std::string& utf8, const char* what) {
  std::string bytes;
  if (!TryUtf8ToCp1251(utf8, bytes)) {
    throw Error(Format("The %s cannot be written in the Windows-1251 code page.", what));
  }
  return bytes;
}

// A list of `count` zero-filled elements; a negative count from the library
// means none.
template <typename Element>
void SizeList(std::vector<Element>& list, int32_t count) {
  list.assign(count > 0 ? static_cast<size_t>(count) : 0, Element{});
}

}  // namespace

bool LoginWithLibrary(const std::string& libraryFile, const std::string& appName,
                      const std::string& alias, bool interactive, bool secondFlag,
                      TLogInfoRec& record, LoginLists& lists) {
  const std::string appText = ToLibraryText(appName, "application name");
  const std::string aliasText = ToLibraryText(alias, "database alias");

  LoadedLibrary library(libraryFile);
  if (!library.Loaded()) throw Error(Format(kMissingLibrary, FileNameOf(libraryFile).c_str()));

  const auto setClientNames = library.Entry<SetClientNamesFn>(kSetClientNamesName);
  const auto externalLogin = library.Entry<ExternalLoginFn>(kExternalLoginName);
  const auto getUserRights = library.Entry<GetUserRightsFn>(kGetUserRightsName);
  const auto getAppUsersList = library.Entry<GetAppUsersListFn>(kGetAppUsersListName);
  if (!externalLogin) return false;

  if (setClientNames) setClientNames(nullptr, nullptr);
  const bool result = externalLogin(nullptr, appText.c_str(), aliasText.c_str(),
                                    interactive ? 1 : 0, secondFlag ? 1 : 0, &record) != 0;

  lists.problem.reset();
  if (const auto getProblem = library.Entry<GetLoginProblemFn>(kGetLoginProblemName)) {
    std::vector<char> text(kProblemBytes, '\0');
    getProblem(text.data(), static_cast<int32_t>(text.size()));
    lists.problem = std::string(text.data());
  }

  // The lists are asked for whatever the login's answer was.
  if (record.RightsCount > 0) {
    SizeList(lists.rights, record.RightsCount);
    TUserRights* rights = lists.rights.data();
    if (getUserRights) getUserRights(&rights);
  }
  if (record.UsersCount > 0) {
    SizeList(lists.users, record.UsersCount);
    TUsersInfo* users = lists.users.data();
    if (getAppUsersList) getAppUsersList(&users);
  }
  return result;
}

bool Login(const std::string& appName, const std::string& alias, bool interactive, bool secondFlag,
           TLogInfoRec& record, LoginLists& lists) {
  return LoginWithLibrary(LoginLibraryFile(), appName, alias, interactive, secondFlag, record,
                          lists);
}

std::string LoginLibraryFile() {
  // The copy beside the program, by its full path: the loader's own search
  // of the program's folder ($ORIGIN) is not done for a dlopen that a
  // sanitizer's runtime intercepts.
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path beside = program.parent_path() / kLoginLibraryName;
    if (std::filesystem::exists(beside, error)) return beside.string();
  }
  return kLoginLibraryName;
}

}  // namespace zrv
