#include "app/Program.h"
#include "platform/forms/Application.h"

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  return RunProgram(application, argc, argv);
}
