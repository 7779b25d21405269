#pragma once
// A stream of bytes with a position, as the toolkit's TStream: what a data set hands out to
// read a blob field.

#include <cstddef>
#include <cstdint>

#include "platform/classes/Persistent.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
  const char* ClassName() const override { return "TStream"; }

  // Copies up to `count` bytes from the position on and moves past them; returns how many.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Returns how many bytes were written; a stream that cannot be written raises.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  // Moves the position, never before the beginning; returns the new position.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual std::int64_t Size() = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
};
