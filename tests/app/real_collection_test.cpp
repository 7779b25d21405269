// The reader over the real collection that sici-collect built from the corpus (a CTest
// fixture): every poet of every dynasty entry opens its works without an error.

#include <gtest/gtest.h>

#include <QListWidget>

#include <filesystem>
#include <set>

#include "app/sici.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Application.h"
#include "platform/forms/ListBox.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"
#include "collection/CollectionSchema.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCollection = SICI_COLLECTION_DIR;

}  // namespace

TEST(RealCollectionReader, EveryPoetOfEveryDynastyOpensItsWorks) {
  ReaderFolder folder(false);
  for (const char* name : {collection::kCatalogueName, collection::kTextFileName})
    fs::copy_file(kCollection / name, folder.path() / name);
  BoxRecorder boxes;
  const std::unique_ptr<Tfsici> main = StartReader();
  ASSERT_TRUE(main);

  std::set<AnsiString> opened;
  std::vector<std::string> failed;
  for (int row = 0; row < main->ListBox1->count(); ++row) {
    ChooseDynasty(*main, row);
    for (main->uq2->First(); !main->uq2->Eof(); main->uq2->Next()) {
      const AnsiString poet = main->uq2->Fields()[0]->AsString();
      if (!opened.insert(poet).second) continue;
      main->DBGridEh2->OnCellClick(*main->DBGridEh2->Columns()[0]);
      const bool shown = boxes.boxes.empty() && main->uq3->Active() && main->uq3->RecordCount() > 0 &&
                         main->DBGridEh3->Columns()[1]->Title().Caption() == poet + "作品"_gbk;
      if (!shown && failed.size() < 30)
        failed.push_back(text::ansiToUtf8(poet) +
                         (boxes.boxes.empty() ? std::string() : ": " + boxes.boxes[0].text.toStdString()));
      boxes.boxes.clear();
    }
  }
  EXPECT_TRUE(failed.empty()) << failed.size() << " poets, the first: " << failed.front();

  // Every poet of the collection was reached through the list of some dynasty.
  TUniQuery everyone(nullptr);
  everyone.SetConnection(main->c1);
  everyone.SQL().Add("select distinct zz from poet");
  everyone.Open();
  std::size_t poets = 0;
  for (; !everyone.Eof(); everyone.Next()) {
    ++poets;
    EXPECT_TRUE(opened.count(everyone.Fields()[0]->AsString())) << text::ansiToUtf8(everyone.Fields()[0]->AsString());
  }
  EXPECT_GT(poets, 6000u);
}
