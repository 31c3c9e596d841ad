#pragma once
// The login record TLogInfoRec that the program hands to the login library
// (libZrvLogin.so), and the list elements the library fills. Both sides compile
// this header: it is the binary contract between them, so every field sits at a
// fixed offset and the record is 1932 bytes.
//
// Short strings are a length byte followed by that many Windows-1251 bytes; the
// helpers below convert them to and from the program's UTF-8.
//
// List references on 64-bit Linux: the record keeps its two 4-byte list slots
// (UsersList at 1920, RightsList at 1928) so the layout stays the same, but a
// 4-byte slot cannot hold an address here. The slots are therefore always 0 and
// neither side reads them; the address of a list travels in the call instead:
// GetUserRights and GetAppUsersList receive the address of a native pointer
// that holds the list's first element (the same "address of the reference" the
// calls always took, with the reference kept beside the record rather than
// inside it). The program allocates each list with the count the library
// reported, zero-filled, and releases it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zrv {

#pragma pack(push, 1)

// A short string of at most N single-byte characters: length byte, then the
// characters.
template <size_t N>
struct TShortString {
  uint8_t length;
  char chars[N];
};

// Aligned as its whole numbers are (their offsets are multiples of 4), so that
// reading one through a reference is not a misaligned access.
struct alignas(4) TLogInfoRec {
  TShortString<255> ServerName;  // database server and path ("host:/path" or a file path)
  uint8_t ServerNameSpare[246];  // the rest of the server-name area, unused
  TShortString<50> UserName;
  TShortString<50> Password;
  int32_t UserID;
  TShortString<50> LibraryText;  // filled by the library, not read by the program
  uint8_t LibraryData[1257];     // filled by the library, not read by the program
  int32_t UsersCount;
  uint32_t UsersList;  // always 0 on this platform, see above
  int32_t RightsCount;
  uint32_t RightsList;  // always 0 on this platform, see above
};

// One element of the users list and of the rights list; their contents belong
// to the library.
struct TUsersInfo {
  uint8_t data[108];
};
struct TUserRights {
  uint8_t data[255];
};

#pragma pack(pop)

static_assert(sizeof(TShortString<50>) == 51);
static_assert(offsetof(TLogInfoRec, ServerName) == 0);
static_assert(offsetof(TLogInfoRec, UserName) == 502);
static_assert(offsetof(TLogInfoRec, Password) == 553);
static_assert(offsetof(TLogInfoRec, UserID) == 604);
static_assert(offsetof(TLogInfoRec, LibraryText) == 608);
static_assert(offsetof(TLogInfoRec, LibraryData) == 659);
static_assert(offsetof(TLogInfoRec, UsersCount) == 1916);
static_assert(offsetof(TLogInfoRec, UsersList) == 1920);
static_assert(offsetof(TLogInfoRec, RightsCount) == 1924);
static_assert(offsetof(TLogInfoRec, RightsList) == 1928);
static_assert(sizeof(TLogInfoRec) == 1932);
static_assert(sizeof(TUsersInfo) == 108);
static_assert(sizeof(TUserRights) == 255);

// Writes a UTF-8 text into a short string of capacity bytes: cut to its first
// `capacity` characters (never inside a character) and converted to
// Windows-1251. Throws zrv::Error naming `what` when the text is not valid
// UTF-8 or holds a character Windows-1251 lacks; the field is then left empty.
void SetShortString(uint8_t& length, char* chars, size_t capacity, const std::string& utf8,
                    const std::string& what);
// The UTF-8 text of a short string. A length byte larger than the capacity (a
// broken library) is read as the capacity.
std::string GetShortString(uint8_t length, const char* chars, size_t capacity);

template <size_t N>
void SetShortString(TShortString<N>& field, const std::string& utf8, const std::string& what) {
  static_assert(N <= 255, "a length byte counts at most 255 characters");
  SetShortString(field.length, field.chars, N, utf8, what);
}
template <size_t N>
std::string GetShortString(const TShortString<N>& field) {
  return GetShortString(field.length, field.chars, N);
}

// Fills the record with zero bytes.
void ClearLogInfo(TLogInfoRec& record);

}  // namespace zrv
