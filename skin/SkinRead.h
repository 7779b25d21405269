#pragma once
// The skin file: a 4-byte size D and an LZHUF stream that decodes to D bytes of a container of
// named files (one description text and the bitmaps it names). All integers are little-endian.
//
// Container: version (4), M (4), 8 bytes not read, a block of a size fixed by the version that
// is skipped, M bytes of names separated by line breaks, one 32-bit size per name, then the
// files' bytes in name order.
//
// The bytes come from outside: every size is checked against the bytes present before anything
// is read or allocated by it, and a file that breaks the format raises ESkinReadError.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classes/Exceptions.h"

class ESkinReadError : public Exception {
 public:
  using Exception::Exception;
};

// A container of a version this reader does not know; the message is the one the user sees.
class ESkinVersionError : public ESkinReadError {
 public:
  explicit ESkinVersionError(std::int32_t version);
  std::int32_t Version() const { return version_; }

 private:
  std::int32_t version_;
};

inline constexpr std::string_view kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

// The bytes before the skipped block, and the block's size for each known version (-1 for an
// unknown one).
inline constexpr std::size_t kSkinHeaderSize = 16;
int SkinSkippedBlockSize(std::int32_t version);

// A file name as names are compared: ASCII letters in lower case (never the second byte of a
// double-byte character).
AnsiString SkinFileName(std::string_view name);

struct TSkinEntry {
  AnsiString Name;         // as SkinFileName gives it
  std::string_view Bytes;  // inside the container's bytes
};

struct TSkinContainer {
  std::int32_t Version = 0;
  // The decoded container; the files' bytes are views into it, so copies of a container share
  // them and they live as long as any copy.
  std::shared_ptr<const std::string> Bytes;
  std::vector<TSkinEntry> Files;  // in name order

  // The first file of that name (compared in lower case), or null.
  const TSkinEntry* Find(std::string_view name) const;
  // The first file whose name contains ".ini", or null.
  const TSkinEntry* Description() const;
};

// The skin stream of a window description: a 4-byte length L and L bytes, the skin file.
std::string_view SkinStreamImage(std::string_view stream);

// The container of a skin file: D from the first four bytes, then D decoded bytes. A damaged
// stream raises ELzhError.
std::string DecompressSkin(std::string_view skinFile);

TSkinContainer ReadSkinContainer(std::string container);

inline TSkinContainer ReadSkinFile(std::string_view skinFile) { return ReadSkinContainer(DecompressSkin(skinFile)); }
