#include "data/records/StringHeap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

namespace {

// The size word and the mark in front of every piece.
constexpr std::size_t kSizeBytes = 4;
constexpr std::size_t kHeaderBytes = kSizeBytes + 2;
// The smallest pooled piece with its header: a block with less left can hold nothing.
constexpr std::size_t kMinPooledSpan = 8 + kHeaderBytes;

constexpr TStrHandle kSystemBit = 0x80000000u;
constexpr unsigned kOffsetBits = 14;
constexpr TStrHandle kOffsetMask = (1u << kOffsetBits) - 1;
constexpr std::size_t kMaxBlocks = std::size_t{1} << (31 - kOffsetBits);
constexpr std::size_t kMaxSystemSlots = kSystemBit;

static_assert(TStringHeap::kBlockArea <= kOffsetMask + 1, "a block offset must fit its handle bits");

// Headers sit at even, not 4-byte, offsets in a block, so they are copied, never cast.
std::uint32_t loadSize(const char* header) {
  std::uint32_t size;
  std::memcpy(&size, header, sizeof size);
  return size;
}
void storeSize(char* header, std::uint32_t size) { std::memcpy(header, &size, sizeof size); }
std::uint16_t loadMark(const char* header) {
  std::uint16_t mark;
  std::memcpy(&mark, header + kSizeBytes, sizeof mark);
  return mark;
}
void storeMark(char* header, std::uint16_t mark) { std::memcpy(header + kSizeBytes, &mark, sizeof mark); }
// A freed pooled piece links the next free piece of its class in its first four bytes.
TStrHandle loadLink(const char* header) {
  TStrHandle link;
  std::memcpy(&link, header + kHeaderBytes, sizeof link);
  return link;
}
void storeLink(char* header, TStrHandle link) { std::memcpy(header + kHeaderBytes, &link, sizeof link); }

// Grows `slots` ahead of time so that giving a slot back never allocates.
void reserveFor(std::vector<std::uint32_t>& slots, std::size_t count) {
  if (slots.capacity() < count) slots.reserve(std::max(count, 2 * slots.capacity()));
}

}  // namespace

TStringHeap::TStringHeap() = default;
TStringHeap::~TStringHeap() = default;

char* TStringHeap::Header(TStrHandle h) const {
  if (h == 0) return nullptr;
  if (h & kSystemBit) {
    const std::size_t slot = h & ~kSystemBit;
    return slot < systemPieces_.size() ? systemPieces_[slot].get() : nullptr;
  }
  const std::size_t block = h >> kOffsetBits;
  const std::size_t offset = h & kOffsetMask;
  if (block >= blocks_.size() || offset < kHeaderBytes || offset + 8 > kBlockArea) return nullptr;
  return blocks_[block].get() + offset - kHeaderBytes;
}

TStrHandle TStringHeap::Alloc(std::size_t size) {
  char* bytes = nullptr;
  return allocBytes(size, bytes);
}

TStrHandle TStringHeap::allocBytes(std::size_t size, char*& bytes) {
  bytes = nullptr;
  if (size < 1) return 0;
  return size <= kMaxPooledSize ? AllocPooled(size, bytes) : AllocSystem(size, bytes);
}

TStrHandle TStringHeap::AllocPooled(std::size_t size, char*& bytes) {
  const std::size_t sizeClass = (size + 7) / 8;
  TStrHandle& head = freeLists_[sizeClass - 1];
  if (head != 0) {
    const TStrHandle h = head;
    char* header = Header(h);
    head = loadLink(header);
    storeMark(header, kMarkInUse);
    bytes = header + kHeaderBytes;
    return h;
  }

  const std::size_t span = sizeClass * 8 + kHeaderBytes;
  if (blocks_.empty() || newestFree_ < span) StartBlock();
  const std::size_t start = kBlockArea - newestFree_;
  char* header = blocks_.back().get() + start;
  std::size_t pieceSize = sizeClass * 8;
  newestFree_ -= span;
  if (newestFree_ < kMinPooledSpan) {
    // Too little is left for any piece: this one takes it when it stays poolable.
    if (pieceSize + newestFree_ <= kMaxPooledSize) pieceSize += newestFree_;
    newestFree_ = 0;
  }
  storeSize(header, static_cast<std::uint32_t>(pieceSize));
  storeMark(header, kMarkInUse);
  bytes = header + kHeaderBytes;
  return static_cast<TStrHandle>((blocks_.size() - 1) << kOffsetBits | (start + kHeaderBytes));
}

void TStringHeap::StartBlock() {
  if (blocks_.size() >= kMaxBlocks) throw std::bad_alloc();
  blocks_.push_back(std::unique_ptr<char[]>(new char[kBlockArea]));

  // The rest of the previous block becomes a freed piece instead of being lost.
  if (blocks_.size() > 1 && newestFree_ >= kMinPooledSpan) {
    const std::size_t start = kBlockArea - newestFree_;
    const std::size_t pieceSize = (newestFree_ - kHeaderBytes) / 8 * 8;
    char* header = blocks_[blocks_.size() - 2].get() + start;
    storeSize(header, static_cast<std::uint32_t>(pieceSize));
    storeMark(header, kMarkFreed);
    TStrHandle& head = freeLists_[pieceSize / 8 - 1];
    storeLink(header, head);
    head = static_cast<TStrHandle>((blocks_.size() - 2) << kOffsetBits | (start + kHeaderBytes));
  }
  newestFree_ = kBlockArea;
}

TStrHandle TStringHeap::AllocSystem(std::size_t size, char*& bytes) {
  if (size > std::numeric_limits<std::uint32_t>::max() - kHeaderBytes) throw std::bad_alloc();
  if (freeSystemSlots_.empty() && systemPieces_.size() >= kMaxSystemSlots) throw std::bad_alloc();

  std::unique_ptr<char[]> piece(new char[size + kHeaderBytes]);
  storeSize(piece.get(), static_cast<std::uint32_t>(size));
  storeMark(piece.get(), kMarkInUse);
  std::size_t slot;
  if (!freeSystemSlots_.empty()) {
    slot = freeSystemSlots_.back();
    freeSystemSlots_.pop_back();
    systemPieces_[slot] = std::move(piece);
  } else {
    reserveFor(freeSystemSlots_, systemPieces_.size() + 1);
    systemPieces_.push_back(std::move(piece));
    slot = systemPieces_.size() - 1;
  }
  ++liveSystemPieces_;
  bytes = systemPieces_[slot].get() + kHeaderBytes;
  return static_cast<TStrHandle>(slot) | kSystemBit;
}

TStrHandle TStringHeap::AllocStr(const char* text, bool trim, int length) {
  std::size_t count = 0;
  if (text != nullptr) count = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
  if (trim)
    while (count > 0 && text[count - 1] == ' ') --count;
  char* bytes = nullptr;
  const TStrHandle h = allocBytes(count + 1, bytes);
  if (count > 0) std::memcpy(bytes, text, count);
  bytes[count] = '\0';
  return h;
}

TStrHandle TStringHeap::AllocWideStr(const char16_t* text, bool trim, int length) {
  std::size_t count = 0;
  if (text != nullptr)
    count = length < 0 ? std::char_traits<char16_t>::length(text) : static_cast<std::size_t>(length);
  if (trim)
    while (count > 0 && text[count - 1] == u' ') --count;
  char* bytes = nullptr;
  const TStrHandle h = allocBytes((count + 1) * sizeof(char16_t), bytes);
  if (count > 0) std::memcpy(bytes, text, count * sizeof(char16_t));
  const char16_t zero = 0;
  std::memcpy(bytes + count * sizeof(char16_t), &zero, sizeof zero);
  return h;
}

void TStringHeap::AddRef(TStrHandle h) {
  char* header = Header(h);
  if (header == nullptr) return;
  const std::uint16_t mark = loadMark(header);
  if (mark < kMarkInUse) return;
  if (mark == std::numeric_limits<std::uint16_t>::max()) throw std::overflow_error("Too many holders of a heap string");
  storeMark(header, static_cast<std::uint16_t>(mark + 1));
}

void TStringHeap::Free(TStrHandle h) {
  char* header = Header(h);
  if (header == nullptr) return;
  const std::uint16_t mark = loadMark(header);
  if (mark > kMarkInUse) {
    storeMark(header, static_cast<std::uint16_t>(mark - 1));
    return;
  }
  if (mark != kMarkInUse) return;

  if (h & kSystemBit) {
    const std::uint32_t slot = h & ~kSystemBit;
    systemPieces_[slot].reset();
    freeSystemSlots_.push_back(slot);
    --liveSystemPieces_;
    return;
  }
  // The floor class: a piece that absorbed a block's last bytes still serves its class.
  const std::size_t sizeClass = loadSize(header) / 8;
  if (sizeClass < 1 || sizeClass > kClassCount) return;
  storeMark(header, kMarkFreed);
  TStrHandle& head = freeLists_[sizeClass - 1];
  storeLink(header, head);
  head = h;
}

void TStringHeap::Clear() {
  blocks_.clear();
  newestFree_ = 0;
  freeLists_.fill(0);
}

char* TStringHeap::Ptr(TStrHandle h) const {
  char* header = Header(h);
  return header == nullptr ? nullptr : header + kHeaderBytes;
}

std::uint32_t TStringHeap::PieceSize(TStrHandle h) const {
  const char* header = Header(h);
  return header == nullptr ? 0 : loadSize(header);
}

std::string_view TStringHeap::Piece(TStrHandle h) const {
  const char* header = Header(h);
  return header == nullptr ? std::string_view() : std::string_view(header + kHeaderBytes, loadSize(header));
}

std::uint16_t TStringHeap::Mark(TStrHandle h) const {
  const char* header = Header(h);
  return header == nullptr ? 0 : loadMark(header);
}

bool TStringHeap::Empty() const { return blocks_.empty() && liveSystemPieces_ == 0; }

bool TStringHeap::HasSystemPieces() const { return liveSystemPieces_ > 0; }
