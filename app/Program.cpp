#include "app/Program.h"

#include <QTimer>

#include <cstdio>

#include "app/Unit3.h"
#include "app/sici.h"
#include "platform/forms/Application.h"

std::unique_ptr<Tfsici> CreateWindows(TApplication& application) {
  try {
    auto main = std::make_unique<Tfsici>();
    new TForm3(main.get());
    return main;
  } catch (const std::exception& error) {
    // A window that failed half-way never existed.
    fsici = nullptr;
    Form3 = nullptr;
    application.ShowException(error);
    return nullptr;
  }
}

namespace {

// "--screenshot FILE": saves a picture of the main window once it is shown, then ends.
QString screenshotFile(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (QString::fromLocal8Bit(argv[i]) == QStringLiteral("--screenshot")) return QString::fromLocal8Bit(argv[i + 1]);
  return {};
}

// "--painted": prints "painted" once the main window has painted itself with its lists, then
// ends; a benchmark times the process up to that line.
bool paintedSwitch(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (QString::fromLocal8Bit(argv[i]) == QStringLiteral("--painted")) return true;
  return false;
}

}  // namespace

int RunProgram(TApplication& application, int argc, char** argv) {
  application.SetTitle("Tavrin诗词大全"_gbk);
  const std::unique_ptr<Tfsici> main = CreateWindows(application);
  if (!main) return EXIT_FAILURE;
  main->show();
  if (paintedSwitch(argc, argv)) {
    QTimer::singleShot(0, main.get(), [&main] {
      main->repaint();
      std::fputs("painted\n", stdout);
      std::fflush(stdout);
      QApplication::quit();
    });
  }
  if (const QString file = screenshotFile(argc, argv); !file.isEmpty()) {
    QTimer::singleShot(500, main.get(), [&main, file] {
      main->grab().save(file);
      QApplication::quit();
    });
  }
  return application.Run();
}
