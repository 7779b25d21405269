// The window tests share one application object, as the program has.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "platform/forms/Application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The reader keeps its zoom in the user's configuration folder and its library in the user's
  // data folder: the tests use folders of their own.
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  QTemporaryDir dataHome;
  qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
  TApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
