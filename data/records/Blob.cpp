#include "data/records/Blob.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <limits>
#include <new>
#include <ostream>
#include <utility>

#include "platform/classes/Exceptions.h"

namespace {

// No object may be larger; asking for more is out of memory before the allocator is asked.
constexpr std::size_t kMaxSize = static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max());

// Holds one reference until the object is handed on, so a failure half-way releases it.
struct ReleaseRef {
  void operator()(const TSharedObject* object) const { object->Release(); }
};
template <class T>
using Ref = std::unique_ptr<T, ReleaseRef>;

constexpr unsigned kSlotBits = 22;
constexpr TBlobHandle kSlotMask = (1u << kSlotBits) - 1;
constexpr std::size_t kMaxSlots = std::size_t{1} << kSlotBits;
constexpr std::uint16_t kMaxGeneration = (1u << (32 - kSlotBits)) - 1;

// Grows `slots` ahead of time so that giving a slot back never allocates.
void reserveFor(std::vector<std::uint32_t>& slots, std::size_t count) {
  if (slots.capacity() < count) slots.reserve(std::max(count, 2 * slots.capacity()));
}

}  // namespace

TSharedObject::~TSharedObject() = default;

void TSharedObject::Release() const {
  if (--refCount_ == 0) delete this;
}

// ---- TCRBlobData

struct TCRBlobData::Piece {
  std::size_t capacity;
  std::size_t used;
  char* Bytes() { return reinterpret_cast<char*>(this + 1); }
};

void TCRBlobData::PieceDeleter::operator()(Piece* piece) const {
  piece->~Piece();
  ::operator delete(piece);
}

TCRBlobData::PiecePtr TCRBlobData::NewPiece(std::size_t capacity) {
  if (capacity > kMaxSize - sizeof(Piece)) throw std::bad_alloc();
  void* memory = ::operator new(sizeof(Piece) + capacity);
  return PiecePtr(new (memory) Piece{capacity, 0});
}

TCRBlobData::TCRBlobData(std::size_t pieceSize) : pieceSize_(std::max<std::size_t>(pieceSize, 1)) {}

TCRBlobData::~TCRBlobData() = default;

// Makes room for `count` more pieces, so that appending them afterwards cannot fail.
void TCRBlobData::ReserveMore(std::size_t count) {
  const std::size_t needed = pieces_.size() + count;
  if (pieces_.capacity() < needed) pieces_.reserve(std::max(needed, 2 * pieces_.capacity()));
}

// Calls action(piece, offset in piece, length, offset in range) for each part of
// [position, position + count) that lies in a piece.
template <class Action>
void TCRBlobData::ForRange(std::size_t position, std::size_t count, Action action) const {
  const std::size_t end = position + count;
  std::size_t base = 0;
  for (const PiecePtr& piece : pieces_) {
    if (base >= end) break;
    const std::size_t pieceEnd = base + piece->used;
    if (pieceEnd > position) {
      const std::size_t from = std::max(position, base);
      const std::size_t to = std::min(end, pieceEnd);
      action(*piece, from - base, to - from, from - position);
    }
    base = pieceEnd;
  }
}

std::size_t TCRBlobData::Read(std::size_t position, std::size_t count, void* dest) const {
  if (position >= size_) return 0;
  const std::size_t available = size_ - position;
  if (count == 0 || count > available) count = available;
  char* out = static_cast<char*>(dest);
  ForRange(position, count, [out](Piece& piece, std::size_t offset, std::size_t length, std::size_t done) {
    std::memcpy(out + done, piece.Bytes() + offset, length);
  });
  return count;
}

void TCRBlobData::Write(std::size_t position, std::size_t count, const void* source) {
  if (count == 0) return;
  if (count > kMaxSize || position > kMaxSize - count) throw std::bad_alloc();
  const std::size_t end = position + count;
  const std::size_t oldSize = size_;

  if (end > size_) {
    const std::size_t growth = end - size_;
    const std::size_t spare = pieces_.empty() ? 0 : pieces_.back()->capacity - pieces_.back()->used;
    const std::size_t intoLast = std::min(spare, growth);
    std::vector<PiecePtr> fresh;
    for (std::size_t need = growth - intoLast; need > 0;) {
      // Only a gap past the end makes the growth larger than the count; it must not turn
      // into a run of tiny pieces.
      PiecePtr piece = NewPiece(std::min(pieceSize_, std::max(count, need)));
      piece->used = std::min(piece->capacity, need);
      need -= piece->used;
      fresh.push_back(std::move(piece));
    }
    ReserveMore(fresh.size());
    if (intoLast > 0) pieces_.back()->used += intoLast;
    for (PiecePtr& piece : fresh) pieces_.push_back(std::move(piece));
    size_ = end;
  }

  if (position > oldSize)
    ForRange(oldSize, position - oldSize, [](Piece& piece, std::size_t offset, std::size_t length, std::size_t) {
      std::memset(piece.Bytes() + offset, 0, length);
    });
  const char* in = static_cast<const char*>(source);
  ForRange(position, count, [in](Piece& piece, std::size_t offset, std::size_t length, std::size_t done) {
    std::memcpy(piece.Bytes() + offset, in + done, length);
  });
}

void TCRBlobData::SetSize(std::size_t size) {
  if (size == 0) {
    Clear();
  } else if (size < size_) {
    // A piece cut to nothing goes, so that only the last piece ever has spare room.
    std::size_t cut = size_ - size;
    while (cut > 0) {
      Piece& last = *pieces_.back();
      if (last.used > cut) {
        last.used -= cut;
        break;
      }
      cut -= last.used;
      pieces_.pop_back();
    }
    size_ = size;
  } else if (size > size_) {
    PiecePtr piece = NewPiece(size - size_);
    std::memset(piece->Bytes(), 0, piece->capacity);
    piece->used = piece->capacity;
    ReserveMore(1);
    pieces_.push_back(std::move(piece));
    size_ = size;
  }
}

void TCRBlobData::Clear() {
  pieces_.clear();
  size_ = 0;
}

char* TCRBlobData::AddPiece(std::size_t size) {
  if (size == 0) return nullptr;
  PiecePtr piece = NewPiece(size);
  piece->used = size;
  ReserveMore(1);
  pieces_.push_back(std::move(piece));
  size_ += size;
  return pieces_.back()->Bytes();
}

void TCRBlobData::Compact() {
  if (pieces_.size() <= 1) return;
  PiecePtr whole = NewPiece(size_);
  whole->used = Read(0, size_, whole->Bytes());
  pieces_.clear();
  pieces_.push_back(std::move(whole));
}

void TCRBlobData::MoveTo(TCRBlobData& dest) {
  if (&dest == this) return;
  dest.pieces_ = std::move(pieces_);
  dest.size_ = size_;
  pieces_.clear();
  size_ = 0;
}

TCRBlobData* TCRBlobData::Clone() const {
  Ref<TCRBlobData> copy(new TCRBlobData(pieceSize_));
  copy->pieces_.reserve(pieces_.size());
  for (const PiecePtr& piece : pieces_) {
    PiecePtr twin = NewPiece(piece->used);
    std::memcpy(twin->Bytes(), piece->Bytes(), piece->used);
    twin->used = piece->used;
    copy->pieces_.push_back(std::move(twin));
  }
  copy->size_ = size_;
  return copy.release();
}

std::size_t TCRBlobData::PieceCapacity(int index) const {
  return pieces_.at(static_cast<std::size_t>(index))->capacity;
}

std::size_t TCRBlobData::PieceUsed(int index) const { return pieces_.at(static_cast<std::size_t>(index))->used; }

// Collects converted text in fresh pieces. A new piece is twice the input still to come
// when that is under half the piece size, else the piece size.
struct TCRBlobData::Output {
  std::size_t pieceSize;
  std::vector<PiecePtr> pieces;
  std::size_t size = 0;

  void Put(const char* bytes, std::size_t count, std::size_t inputLeft) {
    for (std::size_t i = 0; i < count; ++i) {
      if (pieces.empty() || pieces.back()->used == pieces.back()->capacity)
        pieces.push_back(NewPiece(inputLeft < pieceSize / 2 ? 2 * std::max<std::size_t>(inputLeft, 1) : pieceSize));
      Piece& last = *pieces.back();
      last.Bytes()[last.used++] = bytes[i];
    }
    size += count;
  }
};

void TCRBlobData::ConvertLineEnds(bool addCR, bool unicode) {
  if (size_ == 0) return;
  const std::size_t unit = unicode ? 2 : 1;
  char cr[2], lf[2];
  if (unicode) {
    const char16_t wideCR = u'\r', wideLF = u'\n';
    std::memcpy(cr, &wideCR, 2);
    std::memcpy(lf, &wideLF, 2);
  } else {
    cr[0] = '\r';
    lf[0] = '\n';
  }

  Output out{pieceSize_, {}};
  std::size_t pieceIndex = 0, offset = 0, consumed = 0;
  // The input as one run of bytes: a unit, and a CR LF pair, may span two pieces.
  auto nextByte = [&]() {
    while (offset == pieces_[pieceIndex]->used) {
      ++pieceIndex;
      offset = 0;
    }
    ++consumed;
    return pieces_[pieceIndex]->Bytes()[offset++];
  };

  bool afterCR = false;  // AddCR: the previous unit was CR; RemoveCR: a CR waits for its LF
  while (size_ - consumed >= unit) {
    const std::size_t inputLeft = size_ - consumed;
    char bytes[2];
    for (std::size_t i = 0; i < unit; ++i) bytes[i] = nextByte();
    const bool isCR = std::memcmp(bytes, cr, unit) == 0;
    const bool isLF = std::memcmp(bytes, lf, unit) == 0;
    if (addCR) {
      if (isLF && !afterCR) out.Put(cr, unit, inputLeft);
      out.Put(bytes, unit, inputLeft);
      afterCR = isCR;
    } else {
      if (afterCR && !isLF) out.Put(cr, unit, inputLeft);
      if (!isCR) out.Put(bytes, unit, inputLeft);
      afterCR = isCR;
    }
  }
  if (!addCR && afterCR) out.Put(cr, unit, size_ - consumed + unit);
  // A UTF-16 text of odd length keeps its last byte as it is.
  while (consumed < size_) {
    const char byte = nextByte();
    out.Put(&byte, 1, size_ - consumed + 1);
  }

  pieces_ = std::move(out.pieces);
  size_ = out.size;
}

void TCRBlobData::AddCR(bool unicode) { ConvertLineEnds(true, unicode); }

void TCRBlobData::RemoveCR(bool unicode) { ConvertLineEnds(false, unicode); }

// ---- TBlob

TBlob::TBlob(bool isUnicode) : isUnicode_(isUnicode), data_(new TCRBlobData()) {}

TBlob::~TBlob() {
  if (data_ != nullptr) data_->Release();
  if (rollback_ != nullptr) rollback_->Release();
}

bool TBlob::IsValid() const { return validity_ == kValid; }

void TBlob::Invalidate() {
  validity_ = 0;
  rollbackShown_ = false;
  if (data_ != nullptr) data_->Release();
  if (rollback_ != nullptr) rollback_->Release();
  data_ = nullptr;
  rollback_ = nullptr;
}

void TBlob::CheckValid() const {
  if (validity_ != kValid) throw Exception("Invalid BLOB");
}

void TBlob::BeforeChange() {
  CheckValid();
  if (RollbackEnabled && rollback_ == nullptr) SaveToRollback();
}

void TBlob::ReplaceData(TCRBlobData* fresh) {
  data_->Release();
  data_ = fresh;
}

std::size_t TBlob::Size() const {
  CheckValid();
  return data_->Size();
}

bool TBlob::IsEmpty() const {
  CheckValid();
  return data_->IsEmpty();
}

const TCRBlobData& TBlob::Data() const {
  CheckValid();
  return *data_;
}

std::size_t TBlob::Read(std::size_t position, std::size_t count, void* dest) const {
  CheckValid();
  return data_->Read(position, count, dest);
}

void TBlob::Write(std::size_t position, std::size_t count, const void* source) {
  BeforeChange();
  data_->Write(position, count, source);
}

char* TBlob::AddPiece(std::size_t size) {
  BeforeChange();
  return data_->AddPiece(size);
}

void TBlob::SetSize(std::size_t size) {
  BeforeChange();
  data_->SetSize(size);
}

void TBlob::Clear() {
  BeforeChange();
  data_->Clear();
}

void TBlob::Compact() {
  CheckValid();
  data_->Compact();
}

void TBlob::AddCR() {
  BeforeChange();
  data_->AddCR(isUnicode_);
}

void TBlob::RemoveCR() {
  BeforeChange();
  data_->RemoveCR(isUnicode_);
}

AnsiString TBlob::AsString() const {
  CheckValid();
  if (isUnicode_) return text::wideToAnsi(AsWideString());
  AnsiString result(data_->Size(), '\0');
  data_->Read(0, 0, result.data());
  return result;
}

void TBlob::SetAsString(const AnsiString& value) {
  if (isUnicode_) return SetAsWideString(text::ansiToWide(value));
  BeforeChange();
  Ref<TCRBlobData> fresh(new TCRBlobData(data_->PieceSize()));
  fresh->Write(0, value.size(), value.data());
  ReplaceData(fresh.release());
}

WideString TBlob::AsWideString() const {
  CheckValid();
  if (!isUnicode_) return text::ansiToWide(AsString());
  WideString result(data_->Size() / sizeof(char16_t), u'\0');
  // A count of 0 would read to the end: a lone byte must not land in an empty text.
  if (!result.empty()) data_->Read(0, result.size() * sizeof(char16_t), result.data());
  return result;
}

void TBlob::SetAsWideString(const WideString& value) {
  if (!isUnicode_) return SetAsString(text::wideToAnsi(value));
  BeforeChange();
  Ref<TCRBlobData> fresh(new TCRBlobData(data_->PieceSize()));
  fresh->Write(0, value.size() * sizeof(char16_t), value.data());
  ReplaceData(fresh.release());
}

void TBlob::LoadFromStream(std::istream& stream) {
  BeforeChange();
  const std::size_t chunk = data_->PieceSize();
  Ref<TCRBlobData> fresh(new TCRBlobData(chunk));
  for (;;) {
    char* bytes = fresh->AddPiece(chunk);
    stream.read(bytes, static_cast<std::streamsize>(chunk));
    const auto got = static_cast<std::size_t>(stream.gcount());
    if (got == chunk) continue;
    fresh->SetSize(fresh->Size() - (chunk - got));
    break;
  }
  if (stream.bad()) throw Exception("Stream read error");
  ReplaceData(fresh.release());
}

void TBlob::SaveToStream(std::ostream& stream) const {
  CheckValid();
  const std::size_t chunk = data_->PieceSize();
  for (const TCRBlobData::PiecePtr& piece : data_->pieces_)
    for (std::size_t offset = 0; offset < piece->used; offset += chunk)
      stream.write(piece->Bytes() + offset, static_cast<std::streamsize>(std::min(chunk, piece->used - offset)));
  if (stream.bad()) throw Exception("Stream write error");
}

bool TBlob::HasRollback() const {
  CheckValid();
  return rollback_ != nullptr;
}

bool TBlob::RollbackShown() const {
  CheckValid();
  return rollbackShown_;
}

void TBlob::SaveToRollback() {
  CheckValid();
  if (!RollbackEnabled) throw Exception("Blob must be in cached mode");
  HideRollback();
  TCRBlobData* copy = data_->Clone();
  if (rollback_ != nullptr) rollback_->Release();
  rollback_ = copy;
}

void TBlob::ShowRollback() {
  CheckValid();
  if (rollback_ == nullptr || rollbackShown_) return;
  std::swap(data_, rollback_);
  rollbackShown_ = true;
}

void TBlob::HideRollback() {
  CheckValid();
  if (!rollbackShown_) return;
  std::swap(data_, rollback_);
  rollbackShown_ = false;
}

void TBlob::Commit() {
  HideRollback();
  if (rollback_ != nullptr) rollback_->Release();
  rollback_ = nullptr;
}

void TBlob::Cancel() {
  HideRollback();
  if (rollback_ == nullptr) return;
  data_->Release();
  data_ = rollback_;
  rollback_ = nullptr;
}

// ---- TBlobTable

TBlobTable::TBlobTable() = default;

TBlobTable::~TBlobTable() { Clear(); }

TBlobHandle TBlobTable::Create(bool isUnicode, int compressMode) {
  if (compressMode != 0) throw Exception("Compressed BLOBs are not supported");
  Ref<TBlob> blob(new TBlob(isUnicode));
  std::size_t index;
  if (!freeSlots_.empty()) {
    index = freeSlots_.back();
    freeSlots_.pop_back();
  } else {
    if (slots_.size() >= kMaxSlots) throw std::bad_alloc();
    reserveFor(freeSlots_, slots_.size() + 1);
    slots_.push_back(Slot{nullptr, 1});
    index = slots_.size() - 1;
  }
  slots_[index].blob = blob.release();
  ++count_;
  return static_cast<TBlobHandle>(slots_[index].generation) << kSlotBits | static_cast<TBlobHandle>(index);
}

TBlob* TBlobTable::Find(TBlobHandle h) const {
  const std::size_t index = h & kSlotMask;
  if (index >= slots_.size() || slots_[index].generation != h >> kSlotBits) return nullptr;
  return slots_[index].blob;
}

TBlob& TBlobTable::Get(TBlobHandle h) const {
  TBlob* blob = Find(h);
  if (blob == nullptr) throw Exception("Invalid BLOB");
  return *blob;
}

void TBlobTable::Remove(TBlobHandle h) {
  if (Find(h) != nullptr) RemoveSlot(h & kSlotMask);
}

void TBlobTable::RemoveSlot(std::size_t index) {
  Slot& slot = slots_[index];
  TBlob* blob = slot.blob;
  slot.blob = nullptr;
  slot.generation = slot.generation == kMaxGeneration ? 1 : static_cast<std::uint16_t>(slot.generation + 1);
  freeSlots_.push_back(static_cast<std::uint32_t>(index));
  --count_;
  blob->Invalidate();
  blob->Release();
}

void TBlobTable::Clear() {
  // Backwards, so that the lowest slots are handed out again first.
  for (std::size_t index = slots_.size(); index-- > 0;)
    if (slots_[index].blob != nullptr) RemoveSlot(index);
}
