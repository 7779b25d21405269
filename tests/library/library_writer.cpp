// A second program writing to a library, for the tests that kill it or run two at once:
//     library_writer FILE FIRST COUNT
// adds the poems FIRST .. FIRST+COUNT-1 to the favourites and then to the history of the library
// FILE, one change at a time, and prints "F n" or "H n" once each change is done. Ends with 0,
// or with 1 and the reason on stderr.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/LibraryStore.h"
#include "data/access/Uni.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: library_writer FILE FIRST COUNT\n", stderr);
    return 2;
  }
  const long long first = std::atoll(argv[2]);
  const long long count = std::atoll(argv[3]);
  try {
    TUniConnection connection(nullptr);
    LibraryStore library(connection, argv[1]);
    for (long long id = first; id < first + count; ++id) {
      const LibraryPoem poem{id, "title" + std::to_string(id), "author" + std::to_string(id % 7)};
      library.AddFavourite(poem, "2026-12-10 10:00:00");
      std::printf("F %lld\n", id);
      std::fflush(stdout);
      library.AddToHistory(poem, "2026-12-10 10:00:01");
      std::printf("H %lld\n", id);
      std::fflush(stdout);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "library_writer: %s\n", e.what());
    return 1;
  }
  return 0;
}
