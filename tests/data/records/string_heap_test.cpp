#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "data/records/StringHeap.h"

namespace {
// The block number of a pooled handle.
unsigned blockOf(TStrHandle h) { return h >> 14; }
}  // namespace

TEST(StringHeap, SizeClassesAndFreeLists) {
  TStringHeap heap;
  EXPECT_EQ(heap.Alloc(0), 0u);
  EXPECT_EQ(heap.Ptr(0), nullptr);
  EXPECT_TRUE(heap.Empty());

  const TStrHandle one = heap.Alloc(1), eight = heap.Alloc(8), nine = heap.Alloc(9);
  EXPECT_EQ(heap.PieceSize(one), 8u);
  EXPECT_EQ(heap.PieceSize(eight), 8u);
  EXPECT_EQ(heap.PieceSize(nine), 16u);
  EXPECT_EQ(heap.Mark(one), TStringHeap::kMarkInUse);
  EXPECT_EQ(heap.Ptr(eight) - heap.Ptr(one), 14) << "8 bytes plus size word and mark";
  EXPECT_FALSE(heap.Empty());

  heap.Free(one);
  EXPECT_EQ(heap.Mark(one), TStringHeap::kMarkFreed);
  EXPECT_EQ(heap.Alloc(5), one);
  EXPECT_EQ(heap.Mark(one), TStringHeap::kMarkInUse);

  heap.Free(nine);
  EXPECT_NE(heap.Alloc(8), nine) << "a class-2 piece does not serve class 1";
  heap.Free(one);
  heap.Free(eight);
  EXPECT_EQ(heap.Alloc(3), eight) << "last freed, first reused";
  EXPECT_EQ(heap.Alloc(3), one);
  EXPECT_EQ(heap.Alloc(16), nine);
}

TEST(StringHeap, PooledUpTo2000SystemBeyond) {
  TStringHeap heap;
  const TStrHandle pooled = heap.Alloc(2000);
  EXPECT_EQ(heap.PieceSize(pooled), 2000u);
  EXPECT_FALSE(heap.HasSystemPieces());

  const TStrHandle big = heap.Alloc(2001);
  EXPECT_TRUE(heap.HasSystemPieces());
  EXPECT_EQ(heap.PieceSize(big), 2001u);
  EXPECT_EQ(heap.Mark(big), TStringHeap::kMarkInUse);
  std::memset(heap.Ptr(big), 'x', 2001);
  heap.Free(big);
  EXPECT_FALSE(heap.HasSystemPieces());
  EXPECT_EQ(heap.Alloc(3000), big) << "the freed slot is reused";

  EXPECT_THROW(heap.Alloc(std::numeric_limits<std::size_t>::max()), std::bad_alloc);
  EXPECT_EQ(heap.PieceSize(big), 3000u);
}

TEST(StringHeap, HoldersAndDoubleRelease) {
  TStringHeap heap;
  const TStrHandle h = heap.AllocStr("abc");
  heap.AddRef(h);
  EXPECT_EQ(heap.Mark(h), 102);
  heap.Free(h);
  EXPECT_EQ(heap.Mark(h), TStringHeap::kMarkInUse);
  EXPECT_STREQ(heap.Ptr(h), "abc");
  heap.Free(h);
  EXPECT_EQ(heap.Mark(h), TStringHeap::kMarkFreed);
  heap.Free(h);
  heap.AddRef(h);
  EXPECT_EQ(heap.Mark(h), TStringHeap::kMarkFreed) << "a freed piece is not revived";
  EXPECT_EQ(heap.Alloc(4), h);
  EXPECT_NE(heap.Alloc(4), h) << "a second release must not list the piece twice";

  const TStrHandle big = heap.Alloc(5000);
  heap.AddRef(big);
  heap.Free(big);
  EXPECT_TRUE(heap.HasSystemPieces());
  EXPECT_NE(heap.Ptr(big), nullptr);
  heap.Free(big);
  EXPECT_FALSE(heap.HasSystemPieces());
  EXPECT_EQ(heap.Ptr(big), nullptr);
}

TEST(StringHeap, BlockEnds) {
  {  // 8 pieces of 2006 bytes leave 332: the next block turns them into a 320-byte free piece
    TStringHeap heap;
    const TStrHandle first = heap.Alloc(2000);
    for (int i = 1; i < 8; ++i) heap.Alloc(2000);
    const TStrHandle ninth = heap.Alloc(2000);
    EXPECT_EQ(blockOf(ninth), blockOf(first) + 1);
    const TStrHandle rest = heap.Alloc(313);
    EXPECT_EQ(heap.Ptr(rest), heap.Ptr(first) + 8 * 2006);
    EXPECT_EQ(heap.PieceSize(rest), 320u);
  }
  {  // 332 - 326 leaves 6 bytes: the piece takes them, and is still a class-40 piece
    TStringHeap heap;
    const TStrHandle first = heap.Alloc(2000);
    for (int i = 1; i < 8; ++i) heap.Alloc(2000);
    const TStrHandle tail = heap.Alloc(318);
    EXPECT_EQ(heap.PieceSize(tail), 326u);
    EXPECT_EQ(blockOf(heap.Alloc(1)), blockOf(first) + 1);
    heap.Free(tail);
    EXPECT_NE(heap.Alloc(328), tail) << "326 bytes cannot serve a 328-byte request";
    EXPECT_EQ(heap.Alloc(320), tail);
  }
  {  // 1026 pieces of 14 bytes, then 2006 leave 10 bytes, which would make the piece too big
    TStringHeap heap;
    const TStrHandle first = heap.Alloc(1);
    for (int i = 1; i < 1026; ++i) heap.Alloc(1);
    const TStrHandle last = heap.Alloc(2000);
    EXPECT_EQ(blockOf(last), blockOf(first));
    EXPECT_EQ(heap.PieceSize(last), 2000u);
    EXPECT_EQ(blockOf(heap.Alloc(8)), blockOf(first) + 1);
  }
}

TEST(StringHeap, TextCopies) {
  TStringHeap heap;
  const TStrHandle trimmed = heap.AllocStr("ab  ", true);
  EXPECT_STREQ(heap.Ptr(trimmed), "ab");
  EXPECT_EQ(heap.PieceSize(trimmed), 8u);
  EXPECT_STREQ(heap.Ptr(heap.AllocStr("ab  ")), "ab  ");
  EXPECT_STREQ(heap.Ptr(heap.AllocStr("abcdef", false, 3)), "abc");
  EXPECT_STREQ(heap.Ptr(heap.AllocStr(nullptr)), "");

  const TStrHandle wide = heap.AllocWideStr(u"诗 ", true);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(heap.Ptr(wide))), u"诗");
  EXPECT_EQ(heap.PieceSize(wide), 8u);
  const TStrHandle part = heap.AllocWideStr(u"床前明月光", false, 2);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(heap.Ptr(part))), u"床前");
}

TEST(StringHeap, ClearKeepsSystemPiecesTheDestructorFreesAll) {
  TStringHeap heap;
  const TStrHandle pooled = heap.AllocStr("pooled");
  const TStrHandle big = heap.Alloc(4000);
  const TStrHandle forgotten = heap.Alloc(4000);
  std::strcpy(heap.Ptr(big), "still here");

  heap.Clear();
  EXPECT_EQ(heap.Ptr(pooled), nullptr);
  EXPECT_STREQ(heap.Ptr(big), "still here");
  EXPECT_TRUE(heap.HasSystemPieces());
  EXPECT_FALSE(heap.Empty());
  heap.Free(big);
  heap.Free(forgotten);
  EXPECT_TRUE(heap.Empty());

  heap.Alloc(4000);  // left for the destructor; the leak checker reports it otherwise
  EXPECT_STREQ(heap.Ptr(heap.AllocStr("again")), "again");
}
