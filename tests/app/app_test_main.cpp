// The window tests share one application object, as the program has.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "platform/forms/Application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The reader keeps its zoom in the user's configuration folder: the tests use one of their own.
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  TApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
