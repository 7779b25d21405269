// The caption names the number of poems of the collection the reader runs on.
#include <gtest/gtest.h>

#include "app/sici.h"
#include "tests/app/app_fixture.h"
#include "collection/CollectionSchema.h"

namespace {

QString captionWithNote(const std::string* note) {
  ReaderFolder folder;
  if (note) folder.write(collection::kPoemCountName, *note);
  BoxRecorder boxes;
  const std::unique_ptr<Tfsici> main = StartReader();
  return main ? main->windowTitle() : QString();
}

}  // namespace

TEST(CollectionCaption, AnotherCollectionIsNamedWithItsOwnNumberOfPoems) {
  const std::string all = "345050\n";
  EXPECT_EQ(captionWithNote(&all), QStringLiteral("Tavrin诗词大全  (345050首诗词)"));
}

TEST(CollectionCaption, TheShippedCollectionAndUntrustedNotesKeepTheUsualCaption) {
  const QString usual = QStringLiteral("Tavrin诗词大全  (104862首诗词)");
  EXPECT_EQ(captionWithNote(nullptr), usual);
  for (const std::string& note : {std::string("104862\n"), std::string(), std::string("12abc"), std::string("-5"),
                                  std::string("0"), std::string("99999999999999"), std::string(70000, '7')})
    EXPECT_EQ(captionWithNote(&note), usual) << note.substr(0, 20);
}
