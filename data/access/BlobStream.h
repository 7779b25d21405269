#pragma once
// A read stream over one blob of the record buffer: a blob or memo field of one record.

#include "data/records/Blob.h"
#include "platform/classes/Stream.h"

class TBlobStream : public TStream {
 public:
  // Holds a reference to `blob` while it lives; null reads as an empty stream. Once the
  // record buffer lets go of the blob, reading raises "Invalid BLOB".
  explicit TBlobStream(const TBlob* blob);
  ~TBlobStream() override;
  const char* ClassName() const override { return "TBlobStream"; }

  std::size_t Read(void* buffer, std::size_t count) override;
  // The data set's records are never edited: raises "Stream write error".
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override;

 private:
  const TBlob* blob_;
  std::int64_t position_ = 0;
};
