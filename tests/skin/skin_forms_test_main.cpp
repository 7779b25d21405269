// The skin engine's window and control tests share one application object, as the program has.
#include <gtest/gtest.h>

#include "platform/forms/Application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  TApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
