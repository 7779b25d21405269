#pragma once
// A working folder with the reader's two database files, made small, and the answers to
// every message box the windows show.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>

#include "platform/forms/Dialogs.h"

class ReaderFolder {
 public:
  // Creates the folder, makes it the current one and writes the database files into it
  // (unless `withDatabases` is false) and the marker of an earlier start (unless `firstRun`).
  // The reader's data home (XDG_DATA_HOME), where its library lives, is an empty folder of its
  // own while this one lives.
  explicit ReaderFolder(bool withDatabases = true, bool firstRun = false);
  ~ReaderFolder();

  const std::filesystem::path& path() const { return path_; }
  const std::filesystem::path& dataHome() const { return dataHome_; }
  std::filesystem::path libraryFile() const { return dataHome_ / "tavrin-sici" / "library.db"; }
  void write(const std::string& name, const std::string& bytes) const;
  // Runs `statements` on the catalogue (with its key) or on the text file.
  void execCatalogue(const std::vector<std::string>& statements) const;
  void execTexts(const std::vector<std::string>& statements) const;

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
  std::filesystem::path dataHome_;
  QByteArray previousDataHome_;
};

// Records every box and answers it with `answer`; restores the real boxes when it ends.
class BoxRecorder {
 public:
  explicit BoxRecorder(int answer = mrOk);
  ~BoxRecorder();
  std::vector<TMessageBoxRequest> boxes;

 private:
  TMessageBoxPresenter previous_;
};

// An empty configuration home of its own (XDG_CONFIG_HOME) while it lives, so that no case sees
// another's settings.
class ConfigHome {
 public:
  ConfigHome();
  ~ConfigHome();
  std::filesystem::path file() const { return path_ / "tavrin-sici" / "reader.conf"; }
  void write(const std::string& bytes) const;
  std::string read() const;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  QByteArray previous_;
};

class Tfsici;

// Creates the reader's windows and shows the main one, active; null when start-up failed.
std::unique_ptr<Tfsici> StartReader();

// Chooses a dynasty as a person does: the page of the dynasty list shown, a click on the entry.
void ChooseDynasty(Tfsici& main, int row);

// Runs the event loop until `done` holds or about two seconds have passed.
bool waitFor(const std::function<bool()>& done);
