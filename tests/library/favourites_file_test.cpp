// The favourites' text file: what is written reads back the same, and a damaged or foreign file
// gives the lines it can with the numbers of those it cannot, never a silent loss.

#include <gtest/gtest.h>

#include "app/FavouritesFile.h"

using favourites::Line;

TEST(FavouritesFile, WrittenLinesReadBackTheSameWithTheirNumbersOrWithout) {
  const std::vector<Line> lines = {{"静夜思", "李白", 1}, {"春晓", "孟浩然", std::nullopt}, {"a\tb\nc", "x\r", 7}};
  const std::string text = favourites::Write(lines);
  EXPECT_EQ(text, "作品\t作者\t编号\n静夜思\t李白\t1\n春晓\t孟浩然\t\na b c\tx \t7\n");
  const favourites::Read read = favourites::Parse(text);
  ASSERT_EQ(read.Lines.size(), 3u);
  EXPECT_EQ(read.Lines[0].Title, "静夜思");
  EXPECT_EQ(read.Lines[0].Id, 1);
  EXPECT_EQ(read.Lines[1].Id, std::nullopt);
  EXPECT_EQ(read.Lines[2].Title, "a b c") << "a tab or line break in a field never splits it";
  EXPECT_TRUE(read.Unreadable.empty());
}

TEST(FavouritesFile, ReadsWhatOtherEditorsWriteAndCountsEveryLineItCannotRead) {
  // A byte-order mark and CR LF, as Windows editors save; a blank line; five lines that are not
  // poems: too few fields, an empty title, a number that is not one, bytes that are not UTF-8,
  // a negative number.
  const std::string text =
      "\xEF\xBB\xBF作品\t作者\t编号\r\n静夜思\t李白\t1\r\n\r\n只有标题\r\n\t李白\t2\r\n春晓\t孟浩然\t3x\r\n"
      "\xC0\xAF\t李白\t4\r\n登高\t杜甫\t-5\r\n登高\t杜甫\t\r\n";
  const favourites::Read read = favourites::Parse(text);
  ASSERT_EQ(read.Lines.size(), 2u);
  EXPECT_EQ(read.Lines[0].Author, "李白");
  EXPECT_EQ(read.Lines[1].Title, "登高");
  EXPECT_EQ(read.Unreadable, (std::vector<int>{4, 5, 6, 7, 8}));
}

TEST(FavouritesFile, RefusesAFileThatIsNotOneOrTooLarge) {
  EXPECT_THROW(favourites::Parse(""), favourites::FileError);
  EXPECT_THROW(favourites::Parse("title\tauthor\tid\n静夜思\t李白\t1\n"), favourites::FileError);
  EXPECT_THROW(favourites::Parse(std::string(favourites::kMaxBytes + 1, 'a')), favourites::FileError);
  EXPECT_EQ(favourites::Parse(std::string(favourites::kHeader)).Lines.size(), 0u) << "a header alone is an empty list";
  const std::string longField(favourites::kMaxFieldBytes + 1, 'a');
  EXPECT_EQ(favourites::Parse(std::string(favourites::kHeader) + "\n" + longField + "\tb\t1\n").Unreadable,
            std::vector<int>{2});
}
