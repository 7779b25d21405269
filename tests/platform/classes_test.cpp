#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/classes/Classes.h"
#include "platform/classes/TextCompare.h"

namespace {

using Log = std::vector<std::string>;

template <class E, class F>
void expectError(F&& call, const AnsiString& message) {
  try {
    call();
    ADD_FAILURE() << "nothing thrown, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

bool anyLoading(const TComponent& c) {
  for (int i = 0; i < c.ComponentCount(); ++i)
    if (anyLoading(*c.Components(i))) return true;
  return c.Loading();
}

// Logs Loaded() and its destruction, forgets `partner` on opRemove, runs the test's hooks.
class Probe : public TComponent {
public:
  Probe(TComponent* owner, const char* name, Log& log) : TComponent(owner), log_(log) { SetName(name); }
  ~Probe() override { log_.push_back("~" + Name() + (ComponentState().Contains(csDestroying) ? "!" : "")); }

  TComponent* partner = nullptr;
  std::function<void(TComponent*, TOperation)> onNotify;
  std::function<void()> onLoaded;

protected:
  void Loaded() override {
    TComponent::Loaded();
    const TComponent* root = this;
    while (root->Owner()) root = root->Owner();
    log_.push_back("loaded " + Name() + (anyLoading(*root) ? " early" : ""));
    if (onLoaded) onLoaded();
  }
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && component == partner) partner = nullptr;
    if (onNotify) onNotify(component, operation);
    TComponent::Notification(component, operation);
  }

private:
  Log& log_;
};

}  // namespace

TEST(Exceptions, CarryCodePageMessages) {
  Exception e("出错了"_gbk);
  EXPECT_EQ(AnsiString(e.what()), "出错了"_gbk);
  e.SetMessage("changed");
  EXPECT_EQ(e.Message(), "changed");
  EXPECT_EQ(EAbort().Message(), "Operation aborted");
  EXPECT_THROW(throw EDatabaseError("no database"), Exception);
}

TEST(Persistent, AssignAsksTheSourceAndNamesBothClassesOnFailure) {
  struct Verse : TPersistent {
    const char* ClassName() const override { return "Verse"; }
    void AssignTo(TPersistent& destination) const override {
      if (auto* lines = dynamic_cast<TStrings*>(&destination)) return lines->SetText("a\nb");
      TPersistent::AssignTo(destination);
    }
  };
  TStringList list;
  list.Assign(Verse());
  EXPECT_EQ(list.Count(), 2);
  TCollection collection(ItemClassOf<TCollectionItem>);
  expectError<EConvertError>([&] { collection.Assign(Verse()); }, "Cannot assign a Verse to a TCollection");
  EXPECT_THROW(list.Assign(collection), EConvertError);
}

TEST(Component, OwnerListsChildrenAndFindsThemByName) {
  Log log;
  TComponent form(nullptr), otherForm(nullptr);
  auto* grid = new Probe(&form, "Grid", log);
  auto* source = new Probe(&form, "DataSource1", log);
  new TComponent(&form);
  new TComponent(&form);  // any number of unnamed ones
  EXPECT_EQ(form.ComponentCount(), 4);
  EXPECT_EQ(form.Components(1), source);
  EXPECT_EQ(form.FindComponent("datasource1"), source);
  EXPECT_EQ(form.FindComponent(""), nullptr);
  EXPECT_EQ(form.FindChild<Probe>("GRID"), grid);
  EXPECT_EQ(form.FindChild<TStringList>("Grid"), nullptr);
  EXPECT_THROW(form.Components(4), EListError);

  expectError<EComponentError>([&] { source->SetName("grid"); }, "A component named grid already exists");
  source->SetName("DATASOURCE1");
  EXPECT_EQ(source->Name(), "DATASOURCE1");
  EXPECT_NO_THROW((new TComponent(&otherForm))->SetName("Grid"));
}

TEST(Component, OwnerDestroysChildrenLastCreatedFirst) {
  Log log;
  {
    TComponent form(nullptr);
    auto* a = new Probe(&form, "A", log);
    new Probe(a, "A1", log);
    auto* b = new Probe(&form, "B", log);
    new Probe(&form, "C", log);
    delete b;
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.FindComponent("B"), nullptr);
  }
  EXPECT_EQ(log, (Log{"~B", "~C!", "~A!", "~A1!"}));
}

TEST(Component, InsertAndRemoveTransferOwnership) {
  Log log;
  TComponent form(nullptr), other(nullptr);
  auto* watcher = new Probe(&form, "Watcher", log);
  watcher->onNotify = [&](TComponent* c, TOperation op) { log.push_back((op == opInsert ? "+" : "-") + c->Name()); };
  auto* query = new Probe(&other, "Query", log);
  form.InsertComponent(query);
  EXPECT_EQ(query->Owner(), &form);
  EXPECT_EQ(other.ComponentCount(), 0);
  auto* clash = new Probe(&other, "query", log);
  EXPECT_THROW(form.InsertComponent(clash), EComponentError);
  EXPECT_EQ(clash->Owner(), &other);
  EXPECT_THROW(query->InsertComponent(&form), EComponentError);
  EXPECT_THROW(query->InsertComponent(query), EComponentError);

  form.RemoveComponent(query);
  EXPECT_EQ(query->Owner(), nullptr);
  EXPECT_EQ(form.ComponentCount(), 1);
  delete query;
  EXPECT_EQ(log, (Log{"+Query", "-Query", "~Query"}));
}

TEST(Component, PartnersForgetADestroyedComponentWhateverDiesFirst) {
  Log log;
  auto *form1 = new TComponent(nullptr), *form2 = new TComponent(nullptr);
  auto* source = new Probe(form1, "Source", log);
  auto* dataSet = new Probe(form2, "DataSet", log);
  auto* grid = new Probe(form2, "Grid", log);
  source->partner = grid->partner = dataSet;  // the grid is a sibling, told without registering
  dataSet->partner = source;
  dataSet->FreeNotification(source);
  delete dataSet;
  EXPECT_EQ(source->partner, grid->partner);
  EXPECT_EQ(grid->partner, nullptr);

  auto* external = new Probe(nullptr, "External", log);
  external->partner = grid;
  grid->FreeNotification(external);
  external->FreeNotification(grid);  // again: no second link
  delete form2;
  EXPECT_EQ(external->partner, nullptr);

  source->partner = external;
  external->FreeNotification(source);
  external->RemoveFreeNotification(source);
  delete external;
  EXPECT_NE(source->partner, nullptr);
  delete form1;
}

TEST(Component, TeardownSurvivesHandlersThatDestroyOrRegister) {
  Log log;
  auto *dying = new Probe(nullptr, "Dying", log), *first = new Probe(nullptr, "First", log),
       *second = new Probe(nullptr, "Second", log);
  dying->FreeNotification(first);
  dying->FreeNotification(second);
  second->onNotify = [&](TComponent*, TOperation) { delete first; };  // still waiting for its own notice
  delete dying;
  EXPECT_EQ(log, (Log{"~Dying", "~First"}));
  delete second;

  // A sibling that asks to hear about a component that is already leaving.
  auto* form = new TComponent(nullptr);
  auto* leaving = new Probe(form, "Leaving", log);
  auto* late = new Probe(form, "Late", log);
  late->onNotify = [&](TComponent* c, TOperation) { c->FreeNotification(late); };
  delete leaving;
  delete form;

  // An owner whose opInsert handler fails: the half-made component must not stay listed.
  Probe owner(nullptr, "Owner", log);
  owner.onNotify = [&](TComponent* c, TOperation op) {
    if (op != opInsert) return;
    c->FreeNotification(&owner);
    throw EComponentError("refused");
  };
  EXPECT_THROW(new TComponent(&owner), EComponentError);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Component, EndLoadingClearsEveryoneBeforeTheLoadedChain) {
  Log log;
  Probe form(nullptr, "Form", log);
  form.BeginLoading();
  auto* a = new Probe(&form, "A", log);
  new Probe(a, "A1", log);
  auto* b = new Probe(&form, "B", log);
  auto* c = new Probe(&form, "C", log);
  EXPECT_TRUE(a->Components(0)->Loading());
  form.EndLoading();
  EXPECT_EQ(log, (Log{"loaded A1", "loaded A", "loaded B", "loaded C", "loaded Form"}));
  EXPECT_FALSE((new TComponent(&form))->Loading());

  log.clear();
  form.BeginLoading();
  b->onLoaded = [] { throw EDatabaseError("cannot connect"); };
  EXPECT_THROW(form.EndLoading(), EDatabaseError);
  EXPECT_FALSE(anyLoading(form));
  form.EndLoading();  // the missed Loaded() calls stay missed
  EXPECT_EQ(log, (Log{"loaded A1", "loaded A", "loaded B"}));

  // Loaded() that destroys or takes away components still waiting for theirs.
  log.clear();
  form.BeginLoading();
  b->onLoaded = nullptr;
  a->onLoaded = [&] { delete c; form.RemoveComponent(b); };
  form.EndLoading();
  TComponent elsewhere(nullptr);
  elsewhere.InsertComponent(b);
  elsewhere.EndLoading();
  EXPECT_EQ(log, (Log{"loaded A1", "loaded A", "~C", "loaded Form"}));

  form.SetDesigning(true);
  EXPECT_TRUE(a->Components(0)->ComponentState().Contains(csDesigning));
  EXPECT_TRUE((new TComponent(a))->ComponentState().Contains(csDesigning));
  form.SetDesigning(false);
  EXPECT_TRUE(a->Components(1)->ComponentState().Empty());
}

TEST(StringList, EditsLinesAndObjectsWithCheckedIndexes) {
  TStringList list;
  TObject one, two;
  EXPECT_EQ(list.Add("b"), 0);
  EXPECT_EQ(list.AddObject("c", &two), 1);
  list.InsertObject(0, "a", &one);  // a b c
  list.Insert(3, "d");              // a b c d
  list.Put(1, "B");                 // a B c d
  list.Exchange(0, 3);              // d B c a
  list.Move(0, 2);                  // B c d a
  list.Move(3, 1);                  // B a c d
  list.Delete(2);                   // B a d
  EXPECT_EQ(list.Text(), "B\r\na\r\nd\r\n");
  EXPECT_EQ(list.Objects(1), &one);
  EXPECT_EQ(list.IndexOfObject(&two), -1);
  EXPECT_EQ(list.IndexOf("b"), 0);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("b"), -1);

  expectError<EStringListError>([&] { list.Delete(3); }, "List index out of bounds (3)");
  EXPECT_THROW(list.Insert(4, "x"), EStringListError);
  EXPECT_THROW(list.Strings(-1), EStringListError);
  EXPECT_THROW(list.Exchange(0, 3), EStringListError);
  EXPECT_THROW(list.Move(3, 0), EStringListError);
  EXPECT_THROW(list.PutObject(3, nullptr), EStringListError);
  EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, CaseFoldingTouchesOnlyAsciiLetters) {
  const AnsiString upper = "\x81\x41", lower = "\x81\x61";  // trail bytes 'A' and 'a'
  EXPECT_TRUE(classes::sameText("Tang Shi", "tANG sHI"));
  EXPECT_FALSE(classes::sameText(upper, lower));
  EXPECT_TRUE(classes::sameText("X" + upper, "x" + upper));
  EXPECT_LT(classes::compareText("apple", "Banana"), 0);
  EXPECT_GT(classes::compareText("ab", "A"), 0);
  TStringList list;
  list.Add(upper);
  EXPECT_EQ(list.IndexOf(lower), -1);
}

TEST(StringList, NameValueLines) {
  TStringList list;
  list.SetText("Database=poems.db\nReadOnly=True\nno separator\n=nameless\n");
  EXPECT_EQ(list.Names(0), "Database");
  EXPECT_EQ(list.ValueFromIndex(0), "poems.db");
  EXPECT_EQ(list.Values("readonly"), "True");
  EXPECT_EQ(list.Names(2) + list.ValueFromIndex(2), "");
  EXPECT_EQ(list.IndexOfName("no separator"), -1);
  EXPECT_EQ(list.IndexOfName(""), 3);

  list.SetValue("READONLY", "False"); list.SetValue("Key", "a=b");
  list.SetValue("Database", ""); list.SetValue("Missing", "");
  EXPECT_EQ(list.Text(), "READONLY=False\r\nno separator\r\n=nameless\r\nKey=a=b\r\n");
  EXPECT_EQ(list.Values("Key"), "a=b");
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOfName("readonly"), -1);

  TStringList gbk;  // '@' is also the trail byte of the character 0x81 0x40
  gbk.SetNameValueSeparator('@');
  gbk.Add("\x81\x40" "x@1");
  EXPECT_EQ(gbk.Names(0), "\x81\x40" "x");
  gbk.SetNameValueSeparator('=');
  gbk.Add("\x81=2");  // a lead byte without a trail stands alone
  EXPECT_EQ(gbk.Values("\x81"), "2");
}

TEST(StringList, TextRoundTripsAndSplitsEveryLineBreak) {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  list.SetText("a\r\n\r\nb\n");
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
  list.SetText("\n\r");
  EXPECT_EQ(list.Count(), 2);
  list.SetText("\r\n"); list.SetText(list.Text());
  EXPECT_EQ(list.Count(), 1);
  list.SetText("");
  EXPECT_EQ(list.Text(), "");
}

TEST(StringList, SortedListsKeepOrderAndHandleDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "APPLE"}) list.Add(s);
  EXPECT_EQ(list.Text(), "Apple\r\nfig\r\npear\r\n");
  int index = -1;
  EXPECT_TRUE(list.Find("FIG", index) && index == 1);
  EXPECT_TRUE(!list.Find("grape", index) && index == 2);
  EXPECT_EQ(list.IndexOf("PEAR"), 2);

  list.SetDuplicates(dupError);
  expectError<EStringListError>([&] { list.Add("apple"); }, "String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  TObject first, second;
  EXPECT_EQ(list.AddObject("fig", &first), 2);
  EXPECT_EQ(list.AddObject("FIG", &second), 3);

  expectError<EStringListError>([&] { list.Insert(0, "a"); }, "Operation not allowed on sorted list");
  EXPECT_THROW(list.Put(0, "a"), EStringListError);
  EXPECT_THROW(list.Exchange(0, 1), EStringListError);
  EXPECT_THROW(list.Move(0, 1), EStringListError);
  EXPECT_THROW(list.CustomSort([](const TStringList&, int, int) { return 0; }), EStringListError);
  list.SetCaseSensitive(true);  // sorts again, in byte order
  EXPECT_EQ(list.Text(), "Apple\r\nFIG\r\nfig\r\nfig\r\npear\r\n");
  EXPECT_EQ(list.Objects(3), &first);

  TStringList plain;  // long enough for an unstable sort to show
  AnsiString lines, as, bs;
  for (int i = 0; i < 60; ++i) {
    const AnsiString line(1, "baBA"[i % 4]);
    lines += line + "\n";
    (line == "a" || line == "A" ? as : bs) += line + "\r\n";
  }
  plain.SetText(lines); plain.Sort();
  EXPECT_EQ(plain.Text(), as + bs);
  plain.SetText("bb\na\nccc");  // longest first
  plain.CustomSort([](const TStringList& l, int i, int j) { return int(l[j].size()) - int(l[i].size()); });
  EXPECT_EQ(plain.Text(), "ccc\r\nbb\r\na\r\n");
  plain.SetSorted(true);
  EXPECT_EQ(plain.Text(), "a\r\nbb\r\nccc\r\n");
}

TEST(StringList, ChangeEventsBracketEachModification) {
  TStringList list, other;
  Log log;
  const auto logCount = [&](const char* what) {
    return [&, what](TObject& sender) { log.push_back(what + std::to_string(static_cast<TStrings&>(sender).Count())); };
  };
  list.OnChanging = logCount("changing ");
  list.OnChange = logCount("change ");
  list.Add("a");
  list.Put(0, "b");
  list.Clear();
  list.Clear();  // nothing to clear
  EXPECT_THROW(list.Delete(0), EStringListError);
  EXPECT_EQ(log, (Log{"changing 0", "change 1", "changing 1", "change 1", "changing 1", "change 0"}));

  log.clear();
  list.BeginUpdate(); list.BeginUpdate();
  list.Add("x"); list.Add("y");
  list.EndUpdate();
  EXPECT_EQ(log, (Log{"changing 0"}));
  list.EndUpdate();
  list.EndUpdate();  // unmatched
  list.BeginUpdate(); list.EndUpdate();  // nothing changed
  list.SetText("p\nq\nr");
  other.Add("z");
  list.Assign(other);
  EXPECT_EQ(log, (Log{"changing 0", "change 2", "changing 2", "change 3", "changing 3", "change 1"}));

  log.clear();
  list.OnChanging = [](TObject&) { throw EAbort(); };
  EXPECT_THROW(list.Add("refused"), EAbort);
  EXPECT_EQ(list.Count(), 1);
  list.OnChanging = nullptr;
  list.OnChange = [&list, &log, note = std::string("unhooked itself after the first change")](TObject&) {
    list.OnChange = nullptr;
    log.push_back(note);
  };
  list.Add("v"); list.Add("w");
  EXPECT_EQ(log, (Log{"unhooked itself after the first change"}));
}

TEST(StringList, SubclassSeesEveryStoredLine) {
  // Option lines without a "." in their name get the driver prefix.
  class Options : public TStringList {
  public:
    void Put(int index, const AnsiString& s) override { TStringList::Put(index, prefixed(s)); }

  protected:
    void InsertItem(int index, const AnsiString& s, TObject* object) override {
      TStringList::InsertItem(index, prefixed(s), object);
    }

  private:
    static AnsiString prefixed(const AnsiString& s) {
      return s.substr(0, s.find('=')).find('.') == AnsiString::npos ? "SQLite." + s : s;
    }
  };
  Options options;
  options.Add("Direct=True");
  options.Insert(0, "ForceCreate=False");
  options.AddObject("Pool.Size=1", nullptr);
  options.SetValue("Pooling", "True");
  options.SetValue("SQLite.Direct", "False");
  options.Put(2, "Size=2");
  EXPECT_EQ(options.Text(), "SQLite.ForceCreate=False\r\nSQLite.Direct=False\r\nSQLite.Size=2\r\nSQLite.Pooling=True\r\n");

  TStringList source;
  source.Add("Z=3");
  options.SetText("X=1"); options.AddStrings(source);
  EXPECT_EQ(options.Text(), "SQLite.X=1\r\nSQLite.Z=3\r\n");
  options.SetSorted(true);
  options.Assign(source); options.Add("A=0");
  EXPECT_EQ(options.Text(), "SQLite.A=0\r\nSQLite.Z=3\r\n");
}

TEST(StringList, AssignAndAddStringsCopyLinesObjectsAndSeparator) {
  TStringList a, b, sorted;
  TObject object;
  a.AddObject("k:v", &object);
  a.SetNameValueSeparator(':');
  b.Add("old");
  b.Assign(a);
  EXPECT_EQ(b.Text(), "k:v\r\n");
  EXPECT_EQ(b.Objects(0), &object);
  EXPECT_EQ(b.Values("k"), "v");
  b.Assign(b);
  EXPECT_EQ(b.Count(), 1);

  sorted.SetSorted(true); sorted.SetDuplicates(dupAccept);
  sorted.SetText("a\nb"); sorted.AddStrings(sorted);
  EXPECT_EQ(sorted.Text(), "a\r\na\r\nb\r\nb\r\n");
}

namespace {

class Column : public TCollectionItem {
public:
  explicit Column(TCollection* collection) : TCollectionItem(collection) {}
  int width = 64;
  void SetWidth(int w) { width = w; Changed(false); }
  void Assign(const TPersistent& source) override {
    if (const auto* column = dynamic_cast<const Column*>(&source)) return SetWidth(column->width);
    TCollectionItem::Assign(source);
  }
};

// Logs Update() calls and whether every item was fully built by then.
class Columns : public TCollection {
public:
  Columns() : TCollection(ItemClassOf<Column>) {}
  Column* At(int i) const { return static_cast<Column*>(Items(i)); }
  Log log;

protected:
  void Update(TCollectionItem* item) override {
    for (int i = 0; i < Count(); ++i)
      if (!dynamic_cast<Column*>(Items(i))) log.push_back("incomplete");
    log.push_back(item ? "item " + std::to_string(item->Index()) : "all");
  }
};

}  // namespace

TEST(Collection, OwnsOrdersAndMovesItems) {
  Columns columns, other;
  auto *a = columns.Add(), *b = columns.Add(), *c = columns.Insert(0);  // c a b
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ(c->Collection(), &columns);
  b->SetIndex(0);  // b c a
  c->SetIndex(2);  // b a c
  EXPECT_EQ(columns.Items(0), b);
  EXPECT_EQ(columns.Items(2), c);
  EXPECT_THROW(a->SetIndex(3), EListError);
  EXPECT_THROW(columns.Items(-1), EListError);
  EXPECT_THROW(columns.Insert(4), EListError);
  EXPECT_EQ(columns.Count(), 3);

  delete a;
  EXPECT_EQ(c->Index(), 1);
  columns.Delete(0);  // b
  c->SetCollection(&other);
  EXPECT_EQ(columns.Count(), 0);
  EXPECT_EQ(other.Items(0), c);
  c->SetCollection(nullptr);
  EXPECT_EQ(c->Index(), -1);
  delete c;

  other.Add(); other.Add(); columns.Add();
  other.At(0)->width = 100;
  columns.Assign(other);
  EXPECT_EQ(columns.Count(), 2);
  EXPECT_EQ(columns.At(0)->width, 100);
  columns.Assign(columns);
  EXPECT_EQ(columns.Count(), 2);
}

TEST(Collection, ReportsUpdatesOnceItemsAreComplete) {
  Columns columns;
  auto* a = static_cast<Column*>(columns.Add());
  columns.Insert(0);
  EXPECT_EQ(columns.log, (Log{"all", "all"}));

  columns.log.clear();
  a->SetWidth(80);
  columns.BeginUpdate();
  a->SetWidth(90); columns.Add(); columns.Delete(0);
  columns.EndUpdate();
  columns.BeginUpdate(); columns.EndUpdate();
  columns.Clear();
  EXPECT_EQ(columns.log, (Log{"item 1", "all", "all"}));
}
