#pragma once
// Lists of text lines, each with an optional object pointer the list does not own.
//
// Change events: every call that modifies a list fires OnChanging before and OnChange
// after the modification, also when the new content happens to equal the old. A call that
// modifies nothing fires neither (Clear of an empty list, Move to the same place, Sort of a
// Sorted list or of fewer than two lines, adding a duplicate that dupIgnore drops), and
// neither does a call that raises. Between BeginUpdate() and the matching EndUpdate()
// OnChanging fires once, before the first modification, and OnChange once, at the final
// EndUpdate(); a block that modifies nothing fires neither.
//
// Every line that enters a list or replaces a line passes through the virtual InsertItem()
// or Put(), whatever public call brought it (Add, Insert, SetText, Assign, SetValue...),
// so a subclass can rewrite lines there. Reordering (Exchange, Move, Sort) does not pass
// lines through them again.
//
// OnChanging handlers must not modify the list that fires them; OnChange handlers may.

#include <functional>
#include <vector>

#include "platform/classes/Events.h"
#include "platform/classes/Persistent.h"
#include "platform/text/AnsiText.h"

class TStrings : public TPersistent {
public:
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

  const char* ClassName() const override { return "TStrings"; }

  virtual int Count() const = 0;
  AnsiString operator[](int index) const { return Get(index); }
  AnsiString Strings(int index) const { return Get(index); }
  virtual void Put(int index, const AnsiString& s) = 0;
  virtual TObject* Objects(int index) const = 0;
  virtual void PutObject(int index, TObject* object) = 0;

  // Both return the index the line went to.
  int Add(const AnsiString& s) { return AddObject(s, nullptr); }
  virtual int AddObject(const AnsiString& s, TObject* object);
  void Insert(int index, const AnsiString& s) { InsertObject(index, s, nullptr); }
  virtual void InsertObject(int index, const AnsiString& s, TObject* object);
  void AddStrings(const TStrings& strings);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int index1, int index2) = 0;
  // Takes the line (with its object) at `curIndex` out and puts it back at `newIndex`.
  virtual void Move(int curIndex, int newIndex) = 0;

  // From another TStrings: its lines, objects and name/value separator replace this
  // list's. Assigning a list to itself changes nothing.
  void Assign(const TPersistent& source) override;

  // -1 when absent. Lines compare as CompareStrings() does.
  virtual int IndexOf(const AnsiString& s) const;
  int IndexOfObject(const TObject* object) const;

  // Name/value lines: the name is the text before the first separator, the value the text
  // after it. A line without the separator has neither.
  char NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char separator) { nameValueSeparator_ = separator; }
  int IndexOfName(const AnsiString& name) const;
  AnsiString Names(int index) const;
  AnsiString ValueFromIndex(int index) const;
  AnsiString Values(const AnsiString& name) const;
  // Replaces the line with `name` (as "name=value", with the name as given here), adds it
  // when there is none; an empty value deletes the line.
  void SetValue(const AnsiString& name, const AnsiString& value);

  // Every line followed by CR LF, so that SetText(Text()) restores the list exactly.
  AnsiString Text() const;
  // Replaces the lines: CR LF, LF and CR each end a line; text after the last line break
  // makes a last line.
  void SetText(const AnsiString& text);

  void BeginUpdate();
  // Unmatched calls are ignored.
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

protected:
  virtual AnsiString Get(int index) const = 0;
  // Stores a new line at `index` (0..Count()); the one path by which lines are added. A
  // sorted list chose `index` for `s` as it arrives here.
  virtual void InsertItem(int index, const AnsiString& s, TObject* object) = 0;
  // Ignores ASCII case unless a subclass decides otherwise.
  virtual int CompareStrings(const AnsiString& a, const AnsiString& b) const;

  // Storage implementations call Changing() right before and Changed() right after each
  // modification; they fire the events as described at the top of this file.
  void Changing();
  void Changed();

private:
  void fire(const TNotifyEvent& event);

  int updateCount_ = 0;
  bool modifiedInUpdate_ = false;  // OnChanging has fired in the current update block
  char nameValueSeparator_ = '=';
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  // Compares the lines at two indexes: < 0, 0 or > 0 as the first sorts before, with or
  // after the second.
  using SortCompare = std::function<int(const TStringList& list, int index1, int index2)>;

  const char* ClassName() const override { return "TStringList"; }

  int Count() const override { return static_cast<int>(items_.size()); }
  // Index errors raise EStringListError "List index out of bounds (N)"; Put, Insert,
  // Exchange and Move raise EStringListError on a sorted list.
  void Put(int index, const AnsiString& s) override;
  TObject* Objects(int index) const override;
  void PutObject(int index, TObject* object) override;
  // On a sorted list: a line equal to an existing one is not added under dupIgnore (the
  // existing index is returned), raises EStringListError under dupError, and goes after
  // the equal ones under dupAccept.
  int AddObject(const AnsiString& s, TObject* object) override;
  void InsertObject(int index, const AnsiString& s, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const AnsiString& s) const override;

  // Binary search of a list in order (Sorted, or right after Sort()): true when `s` is
  // present, with `index` at its first occurrence; otherwise `index` is where it would go.
  bool Find(const AnsiString& s, int& index) const;
  // Both sorts are stable. Sort() orders by CompareStrings() and does nothing to a sorted
  // list; CustomSort() raises EStringListError on one.
  void Sort();
  void CustomSort(const SortCompare& compare);

  bool Sorted() const { return sorted_; }
  // Turning it on sorts the list. Lines already present are not checked for duplicates.
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  // A sorted list is sorted again under the new comparison.
  void SetCaseSensitive(bool caseSensitive);

protected:
  AnsiString Get(int index) const override;
  void InsertItem(int index, const AnsiString& s, TObject* object) override;
  int CompareStrings(const AnsiString& a, const AnsiString& b) const override;

private:
  struct Item {
    AnsiString text;
    TObject* object = nullptr;
  };

  void checkIndex(int index, int limit) const;
  void checkUnsorted() const;
  void sortBy(const SortCompare& compare);
  void sortByText();
  int upperBound(const AnsiString& s) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
