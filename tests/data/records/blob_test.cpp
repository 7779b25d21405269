#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <sstream>
#include <string>

#include "data/records/Blob.h"
#include "platform/classes/Exceptions.h"

namespace {

struct Releaser {
  void operator()(TSharedObject* object) const { object->Release(); }
};
template <class T>
using Ref = std::unique_ptr<T, Releaser>;

Ref<TCRBlobData> dataOf(const std::string& bytes, std::size_t pieceSize = TCRBlobData::kDefaultPieceSize) {
  Ref<TCRBlobData> data(new TCRBlobData(pieceSize));
  data->Write(0, bytes.size(), bytes.data());
  return data;
}

std::string contentOf(const TCRBlobData& data) {
  std::string bytes(data.Size(), '\0');
  data.Read(0, 0, bytes.data());
  return bytes;
}

std::string pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  return bytes;
}

std::string bytesOf(const std::u16string& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

template <class F>
std::string errorOf(F action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max() - 4;

}  // namespace

TEST(BlobData, WritesGrowInPieces) {
  Ref<TCRBlobData> small = dataOf("0123456789");
  EXPECT_EQ(small->PieceCount(), 1);
  EXPECT_EQ(small->PieceCapacity(0), 10u);

  const std::string bytes = pattern(70000);
  Ref<TCRBlobData> data = dataOf(bytes);
  ASSERT_EQ(data->PieceCount(), 2);
  EXPECT_EQ(data->PieceCapacity(0), 65514u);
  EXPECT_EQ(data->PieceCapacity(1), 65514u);
  EXPECT_EQ(data->PieceUsed(1), 4486u);
  EXPECT_EQ(contentOf(*data), bytes);

  data->Write(70000, 100, bytes.data());
  EXPECT_EQ(data->PieceCount(), 2) << "the last piece's spare room is used first";
  EXPECT_EQ(data->PieceUsed(1), 4586u);
  data->Write(65510, 8, "ABCDEFGH");
  EXPECT_EQ(data->Size(), 70100u);
  EXPECT_EQ(contentOf(*data).substr(65508, 12), bytes.substr(65508, 2) + "ABCDEFGH" + bytes.substr(65518, 2));

  Ref<TCRBlobData> gap = dataOf("ab");
  gap->Write(5, 2, "cd");
  EXPECT_EQ(contentOf(*gap), std::string("ab\0\0\0cd", 7));
  EXPECT_THROW(gap->Write(kHuge, 10, "0123456789"), std::bad_alloc);
  EXPECT_EQ(gap->Size(), 7u);
}

TEST(BlobData, ReadsStopAtTheEnd) {
  Ref<TCRBlobData> data = dataOf("hello");
  char buffer[16] = {};
  EXPECT_EQ(data->Read(5, 1, buffer), 0u);
  EXPECT_EQ(data->Read(9, 1, buffer), 0u);
  EXPECT_EQ(data->Read(2, 0, buffer), 3u);
  EXPECT_EQ(std::string(buffer, 3), "llo");
  EXPECT_EQ(data->Read(3, 10, buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "lo");
  Ref<TCRBlobData> empty(new TCRBlobData);
  EXPECT_EQ(empty->Read(0, 0, buffer), 0u);
  EXPECT_TRUE(empty->IsEmpty());
}

TEST(BlobData, SetSizeAndCompact) {
  const std::string bytes = pattern(70000);
  Ref<TCRBlobData> data = dataOf(bytes);
  data->SetSize(65514);
  EXPECT_EQ(data->PieceCount(), 1);
  data->SetSize(60000);
  data->SetSize(60010);
  ASSERT_EQ(data->PieceCount(), 2);
  EXPECT_EQ(data->PieceUsed(1), 10u);
  EXPECT_EQ(contentOf(*data), bytes.substr(0, 60000) + std::string(10, '\0'));

  data->Compact();
  EXPECT_EQ(data->PieceCount(), 1);
  EXPECT_EQ(data->PieceCapacity(0), 60010u);
  EXPECT_EQ(contentOf(*data), bytes.substr(0, 60000) + std::string(10, '\0'));

  EXPECT_THROW(data->SetSize(kHuge), std::bad_alloc);
  EXPECT_EQ(data->Size(), 60010u);
  data->SetSize(0);
  EXPECT_EQ(data->PieceCount(), 0);
  EXPECT_TRUE(data->IsEmpty());
}

TEST(BlobData, LineEndsOf8BitText) {
  Ref<TCRBlobData> data = dataOf("a\nb");
  data->AddCR(false);
  EXPECT_EQ(contentOf(*data), "a\r\nb");
  EXPECT_EQ(data->PieceCapacity(0), 6u) << "twice the input for a short text";
  data->AddCR(false);
  EXPECT_EQ(contentOf(*data), "a\r\nb");
  data = dataOf("\n\n");
  data->AddCR(false);
  EXPECT_EQ(contentOf(*data), "\r\n\r\n");

  data = dataOf("a\r\nb\r\r\n\r");
  data->RemoveCR(false);
  EXPECT_EQ(contentOf(*data), "a\nb\r\n\r");

  // A pair split over two pieces is still a pair.
  data.reset(new TCRBlobData);
  std::memcpy(data->AddPiece(2), "a\r", 2);
  std::memcpy(data->AddPiece(2), "\nb", 2);
  data->AddCR(false);
  EXPECT_EQ(contentOf(*data), "a\r\nb");
  data->RemoveCR(false);
  EXPECT_EQ(contentOf(*data), "a\nb");

  const std::string lines = pattern(30000) + "\n" + pattern(40000);
  data = dataOf(lines, 1000);
  data->AddCR(false);
  EXPECT_EQ(contentOf(*data).size(), lines.size() + std::count(lines.begin(), lines.end(), '\n'));
  data->RemoveCR(false);
  EXPECT_EQ(contentOf(*data), lines);
}

TEST(BlobData, LineEndsOfUtf16Text) {
  Ref<TCRBlobData> data = dataOf(bytesOf(u"a\nb"));
  data->AddCR(true);
  EXPECT_EQ(contentOf(*data), bytesOf(u"a\r\nb"));
  data->AddCR(true);
  EXPECT_EQ(contentOf(*data), bytesOf(u"a\r\nb"));
  data->RemoveCR(true);
  EXPECT_EQ(contentOf(*data), bytesOf(u"a\nb"));

  // U+0A0D is the bytes 0D 0A: no line end in 16-bit units.
  data = dataOf(bytesOf(u"\u0A0D\u0D0A\n"));
  data->AddCR(true);
  EXPECT_EQ(contentOf(*data), bytesOf(u"\u0A0D\u0D0A\r\n"));
  data->RemoveCR(true);
  EXPECT_EQ(contentOf(*data), bytesOf(u"\u0A0D\u0D0A\n"));

  // A unit split over two pieces, and an odd last byte kept as it is.
  const std::string bytes = bytesOf(u"a\nb") + "z";
  data.reset(new TCRBlobData);
  std::memcpy(data->AddPiece(3), bytes.data(), 3);
  std::memcpy(data->AddPiece(4), bytes.data() + 3, 4);
  data->AddCR(true);
  EXPECT_EQ(contentOf(*data), bytesOf(u"a\r\nb") + "z");
}

TEST(Blob, RollbackCopies) {
  Ref<TBlob> blob(new TBlob);
  blob->SetAsString("old");
  EXPECT_EQ(errorOf([&] { blob->SaveToRollback(); }), "Blob must be in cached mode");

  blob->EnableRollback();
  blob->SetAsString("new");
  blob->Write(3, 1, "!");
  EXPECT_TRUE(blob->HasRollback());
  blob->ShowRollback();
  EXPECT_TRUE(blob->RollbackShown());
  EXPECT_EQ(blob->AsString(), "old") << "the copy is taken before the first change only";
  blob->HideRollback();
  EXPECT_EQ(blob->AsString(), "new!");
  blob->Cancel();
  EXPECT_EQ(blob->AsString(), "old");
  EXPECT_FALSE(blob->HasRollback());

  blob->Clear();
  blob->ShowRollback();
  blob->Commit();
  EXPECT_FALSE(blob->RollbackShown());
  EXPECT_FALSE(blob->HasRollback());
  EXPECT_TRUE(blob->IsEmpty());
}

TEST(Blob, StreamsAndText) {
  const std::string bytes = pattern(150000);
  std::istringstream in(bytes);
  Ref<TBlob> blob(new TBlob);
  blob->SetAsString("replaced");
  blob->LoadFromStream(in);
  ASSERT_EQ(blob->Data().PieceCount(), 3);
  EXPECT_EQ(blob->Data().PieceUsed(2), 150000u - 2 * 65514);
  std::ostringstream out;
  blob->SaveToStream(out);
  EXPECT_EQ(out.str(), bytes);

  std::istringstream none("");
  blob->LoadFromStream(none);
  EXPECT_TRUE(blob->IsEmpty());
  EXPECT_EQ(blob->Data().PieceCount(), 0);

  const AnsiString poem = "\xB4\xB2\xC7\xB0\xC3\xF7\xD4\xC2\xB9\xE2";  // 床前明月光
  blob->SetAsString(poem);
  EXPECT_EQ(blob->Size(), 10u);
  EXPECT_EQ(blob->AsWideString(), u"床前明月光");

  Ref<TBlob> wide(new TBlob(true));
  wide->SetAsString(poem);
  EXPECT_EQ(wide->Size(), 10u);
  EXPECT_EQ(wide->AsWideString(), u"床前明月光");
  EXPECT_EQ(wide->AsString(), poem);
  wide->SetAsWideString(u"\u0A0D\n");
  wide->AddCR();
  EXPECT_EQ(wide->AsWideString(), u"\u0A0D\r\n");
}

TEST(Blob, UnicodeTextOfAnOddByteCountDropsTheLoneByte) {
  Ref<TBlob> wide(new TBlob(true));
  for (const std::string& bytes : {std::string("A"), std::string("AB"), std::string("ABC")}) {
    SCOPED_TRACE(bytes.size());
    wide->Clear();
    wide->Write(0, bytes.size(), bytes.data());
    const WideString text = wide->AsWideString();
    EXPECT_EQ(text.size(), bytes.size() / 2);
    EXPECT_EQ(text.c_str()[text.size()], u'\0') << "the text ends where its last whole unit ends";
    if (!text.empty()) EXPECT_EQ(text[0], u'\u4241');
  }
}

TEST(BlobTable, StaleHandlesAndInvalidBlobs) {
  TBlobTable table;
  const TBlobHandle h = table.Create(false);
  EXPECT_NE(h, 0u);
  table.Get(h).SetAsString("x");

  TBlob& held = table.Get(h);
  held.AddRef();
  table.Remove(h);
  EXPECT_FALSE(held.IsValid());
  EXPECT_EQ(errorOf([&] { held.Size(); }), "Invalid BLOB");
  EXPECT_EQ(errorOf([&] { held.Write(0, 1, "y"); }), "Invalid BLOB");
  EXPECT_EQ(errorOf([&] { table.Get(h); }), "Invalid BLOB");
  EXPECT_EQ(table.Find(h), nullptr);
  held.Release();

  const TBlobHandle again = table.Create(true);
  EXPECT_NE(again, h);
  EXPECT_EQ(table.Find(h), nullptr) << "a reused slot does not revive the old handle";
  EXPECT_TRUE(table.Get(again).IsUnicode());
  EXPECT_EQ(errorOf([&] { table.Get(0); }), "Invalid BLOB");
  EXPECT_EQ(errorOf([&] { table.Create(false, 1); }), "Compressed BLOBs are not supported");
  EXPECT_EQ(table.Count(), 1u);

  table.Remove(h);
  EXPECT_EQ(table.Count(), 1u) << "removing a stale handle changes nothing";
  table.Clear();
  EXPECT_EQ(table.Find(again), nullptr);
  EXPECT_EQ(table.Count(), 0u);
  table.Get(table.Create(false)).SetAsString("left for the destructor");
}
