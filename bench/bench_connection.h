#pragma once
// A connection to one of the collection's files as the reader opens it: code page 936 text
// stored as bytes, and the catalogue's key where the file is encrypted.

#include <string>

#include "data/access/Uni.h"
#include "collection/CollectionSchema.h"

namespace bench {

inline void connect(TUniConnection& c, const std::string& file, bool encrypted) {
  c.SetProviderName("SQLite");
  c.SetDatabase(file);
  c.SpecificOptions().Add("SQLite.ASCIIDataBase=True");
  if (encrypted) c.SpecificOptions().Add(std::string("SQLite.EncryptionKey=") + collection::kCatalogueKey);
  c.Connect();
}

}  // namespace bench
