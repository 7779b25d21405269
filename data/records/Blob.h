#pragma once
// Blob values of the record buffer: the content of one blob, memo or wide-memo field of one
// record, kept in a chain of pieces so that fetching a long value never moves what is
// already stored.
//
// Blobs are reference-counted. The record buffer keeps its blobs in a TBlobTable and stores
// the table's 32-bit handle in the record. Removing a blob from its table invalidates it:
// whoever still holds a reference (a blob stream, say) keeps a live object whose every
// operation raises "Invalid BLOB", and a stale handle raises the same. Nothing ever looks at
// a destroyed object.
//
// Blob handle layout: bits 21..0 the table slot, bits 31..22 the slot's generation (1..1023),
// which changes every time the slot's blob is removed, so no handle is 0 and a handle kept
// after its blob was removed no longer matches (until the generation comes round again).
//
// Compressed blobs do not exist here: nothing in this program switches compression on.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "platform/text/AnsiText.h"

// An object shared by counted references. It starts with one reference, its creator's.
class TSharedObject {
public:
  TSharedObject() = default;
  TSharedObject(const TSharedObject&) = delete;
  TSharedObject& operator=(const TSharedObject&) = delete;

  // Holding a reference does not change the object, so a reader of a const object may hold one.
  void AddRef() const { ++refCount_; }
  // Drops one reference; the last one deletes the object.
  void Release() const;
  int RefCount() const { return refCount_; }

protected:
  virtual ~TSharedObject();

private:
  mutable int refCount_ = 1;
};

// The bytes of a blob, in pieces. Positions count the used bytes of the pieces in order;
// only the last piece grows into its spare room.
class TCRBlobData : public TSharedObject {
public:
  static constexpr std::size_t kDefaultPieceSize = 65514;

  explicit TCRBlobData(std::size_t pieceSize = kDefaultPieceSize);

  std::size_t PieceSize() const { return pieceSize_; }
  std::size_t Size() const { return size_; }
  bool IsEmpty() const { return size_ == 0; }

  // Copies up to `count` bytes from `position` (count 0: up to the end); returns how many.
  std::size_t Read(std::size_t position, std::size_t count, void* dest) const;
  // Overwrites and extends; a gap between the end and `position` reads as zeros. New pieces
  // are of the piece size, or of `count` when that is smaller and covers the growth. Out of
  // memory raises std::bad_alloc with the content unchanged.
  void Write(std::size_t position, std::size_t count, const void* source);
  // Shrinking cuts from the end; growing appends one zero-filled piece of the difference.
  void SetSize(std::size_t size);
  void Clear();
  // Appends a piece of exactly `size` used bytes for the caller to fill (nullptr for 0).
  char* AddPiece(std::size_t size);
  // Moves the content into one piece.
  void Compact();
  // Hands the pieces over to `dest` (whose content they replace), leaving this one empty.
  void MoveTo(TCRBlobData& dest);
  // A copy with its own pieces, holding one reference.
  TCRBlobData* Clone() const;

  // Line feeds not preceded by a carriage return become CR LF; RemoveCR turns CR LF back
  // into LF. `unicode`: the content is UTF-16 and the conversion works on 16-bit units.
  void AddCR(bool unicode);
  void RemoveCR(bool unicode);

  int PieceCount() const { return static_cast<int>(pieces_.size()); }
  std::size_t PieceCapacity(int index) const;
  std::size_t PieceUsed(int index) const;

protected:
  ~TCRBlobData() override;

private:
  friend class TBlob;  // streams write the pieces out without an extra copy
  struct Piece;
  struct PieceDeleter {
    void operator()(Piece* piece) const;
  };
  using PiecePtr = std::unique_ptr<Piece, PieceDeleter>;
  struct Output;

  static PiecePtr NewPiece(std::size_t capacity);
  void ReserveMore(std::size_t count);
  void ConvertLineEnds(bool addCR, bool unicode);
  template <class Action>
  void ForRange(std::size_t position, std::size_t count, Action action) const;

  std::size_t pieceSize_;
  std::size_t size_ = 0;
  std::vector<PiecePtr> pieces_;
};

class TBlob : public TSharedObject {
public:
  explicit TBlob(bool isUnicode = false);

  bool IsUnicode() const { return isUnicode_; }
  // False once the blob was invalidated; every other operation then raises "Invalid BLOB".
  bool IsValid() const;
  // Frees the content at once and makes the blob refuse every further operation.
  void Invalidate();

  std::size_t Size() const;
  bool IsEmpty() const;
  std::size_t Read(std::size_t position, std::size_t count, void* dest) const;
  void Write(std::size_t position, std::size_t count, const void* source);
  char* AddPiece(std::size_t size);
  void SetSize(std::size_t size);
  void Clear();
  void Compact();
  void AddCR();
  void RemoveCR();
  // The pieces of the content shown now, for inspection.
  const TCRBlobData& Data() const;

  // The content as 8-bit or UTF-16 text, converted when the blob holds the other kind.
  AnsiString AsString() const;
  void SetAsString(const AnsiString& value);
  WideString AsWideString() const;
  void SetAsWideString(const WideString& value);

  // Replaces the content with the rest of the stream, read in chunks of the piece size.
  void LoadFromStream(std::istream& stream);
  // Writes the content at the stream's position in chunks of the piece size.
  void SaveToStream(std::ostream& stream) const;

  // Cached updates: while set, the first change saves a rollback copy of the content.
  bool RollbackEnabled = false;
  void EnableRollback() { RollbackEnabled = true; }
  bool HasRollback() const;
  bool RollbackShown() const;
  // Saves the content as the rollback copy; raises "Blob must be in cached mode" unless
  // RollbackEnabled.
  void SaveToRollback();
  // While the rollback copy is shown, reads and writes go to it.
  void ShowRollback();
  void HideRollback();
  // Keeps the content and drops the rollback copy.
  void Commit();
  // Brings the rollback copy back as the content.
  void Cancel();

protected:
  ~TBlob() override;

private:
  void CheckValid() const;
  void BeforeChange();
  void ReplaceData(TCRBlobData* fresh);

  static constexpr std::uint8_t kValid = 0xDD;

  std::uint8_t validity_ = kValid;
  bool isUnicode_;
  bool rollbackShown_ = false;
  TCRBlobData* data_;
  TCRBlobData* rollback_ = nullptr;  // while shown: the content set aside
};

using TBlobHandle = std::uint32_t;  // 0: no blob

// The blobs of one record buffer, by handle. The table holds one reference to each blob.
class TBlobTable {
public:
  TBlobTable();
  TBlobTable(const TBlobTable&) = delete;
  TBlobTable& operator=(const TBlobTable&) = delete;
  // Invalidates and releases every blob still in the table.
  ~TBlobTable();

  // A new empty blob. `compressMode` is the record set's blob compression setting; any
  // value but 0 raises "Compressed BLOBs are not supported".
  TBlobHandle Create(bool isUnicode, int compressMode = 0);
  // Raises "Invalid BLOB" for 0, a stale handle or one this table never gave out.
  TBlob& Get(TBlobHandle h) const;
  TBlob* Find(TBlobHandle h) const;
  // Invalidates the blob and drops the table's reference; a stale handle is ignored.
  void Remove(TBlobHandle h);
  void Clear();
  std::size_t Count() const { return count_; }

private:
  struct Slot {
    TBlob* blob;
    std::uint16_t generation;
  };
  void RemoveSlot(std::size_t index);

  std::vector<Slot> slots_;
  std::vector<std::uint32_t> freeSlots_;
  std::size_t count_ = 0;
};
