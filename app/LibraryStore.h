#pragma once
// The person's own library: favourites and reading history, kept in a SQLite file of its own
// (library.db, beside nothing of the collection's), through the program's connection component.
// A poem is held by the collection's id together with its title and author, so that a rebuilt
// collection, whose ids may differ, still finds it.
//
// Every change is one transaction in write-ahead-log mode with full synchronisation: what a
// call reported as done survives the program being killed right after. A file that is damaged,
// belongs to another program or comes from a newer version of this one is never written to: it
// is renamed aside, with the time in its name, and an empty library takes its place.
//
// Texts are code page 936, as the collection's; the file holds them as UTF-8.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/text/AnsiText.h"

class TUniConnection;

struct LibraryPoem {
  std::int64_t Id = 0;
  AnsiString Title;
  AnsiString Author;
  bool operator==(const LibraryPoem&) const = default;
};

// A library that cannot be opened or changed; the message says why, in words a person reads.
// The library is as it was before the call.
class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class LibraryStore {
 public:
  static constexpr int kSchemaVersion = 1;
  // "TSsi" in the file's header: a SQLite file without it, holding tables, is not ours.
  static constexpr std::int32_t kApplicationId = 0x54537369;
  // The history keeps the poems last shown, each once, at most this many.
  static constexpr int kHistoryRows = 500;

  // Opens `file` on `connection` (set up here; it must not be open), creating the file and its
  // folder when missing and bringing an older schema up to date. A damaged, foreign or newer
  // file is renamed aside first (SetAside() then names it). Throws LibraryError when no library
  // can be had, for example in a folder that cannot be written.
  LibraryStore(TUniConnection& connection, std::filesystem::path file);
  ~LibraryStore();
  LibraryStore(const LibraryStore&) = delete;
  LibraryStore& operator=(const LibraryStore&) = delete;

  const std::filesystem::path& File() const { return file_; }
  // Where an unusable file was moved and why, empty when none was.
  const std::filesystem::path& SetAside() const { return setAside_; }
  const std::string& SetAsideReason() const { return setAsideReason_; }
  TUniConnection& Connection() { return connection_; }

  bool IsFavourite(const LibraryPoem& poem);
  // `time` is "yyyy-MM-dd HH:mm:ss". Adding a poem already there changes nothing.
  void AddFavourite(const LibraryPoem& poem, const std::string& time);
  void RemoveFavourite(const LibraryPoem& poem);
  // Adds those not there yet, all or none; returns how many were added.
  int AddFavourites(const std::vector<LibraryPoem>& poems, const std::string& time);
  // Newest first.
  std::vector<LibraryPoem> Favourites();

  // The poem goes to the top of the history with `time`, once, and the oldest beyond
  // kHistoryRows go.
  void AddToHistory(const LibraryPoem& poem, const std::string& time);
  void ClearHistory();

 private:
  void open();
  // Why the open file cannot be used as a library, empty when it can.
  std::string unusable();
  void setAside(const std::string& reason);
  void upgrade();
  // Runs `change` in one transaction; any failure rolls back and becomes a LibraryError.
  template <typename Change>
  void transaction(Change change);

  TUniConnection& connection_;
  std::filesystem::path file_;
  std::filesystem::path setAside_;
  std::string setAsideReason_;
};
