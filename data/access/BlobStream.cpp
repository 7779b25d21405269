#include "data/access/BlobStream.h"

#include <limits>

#include "platform/classes/Exceptions.h"

TBlobStream::TBlobStream(const TBlob* blob) : blob_(blob) {
  if (blob_) blob_->AddRef();
}

TBlobStream::~TBlobStream() {
  if (blob_) blob_->Release();
}

std::size_t TBlobStream::Read(void* buffer, std::size_t count) {
  // The blob reads "everything from here" for a count of 0.
  if (!blob_ || count == 0) return 0;
  const std::size_t size = blob_->Size();
  if (position_ >= static_cast<std::int64_t>(size)) return 0;
  const std::size_t read = blob_->Read(static_cast<std::size_t>(position_), count, buffer);
  position_ += static_cast<std::int64_t>(read);
  return read;
}

std::size_t TBlobStream::Write(const void*, std::size_t) { throw Exception("Stream write error"); }

std::int64_t TBlobStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
  // Neither before the beginning nor past what a position can hold.
  if (offset < 0)
    position_ = offset < -base ? 0 : base + offset;
  else
    position_ = offset > std::numeric_limits<std::int64_t>::max() - base ? std::numeric_limits<std::int64_t>::max()
                                                                          : base + offset;
  return position_;
}

std::int64_t TBlobStream::Size() { return blob_ ? static_cast<std::int64_t>(blob_->Size()) : 0; }
