// Another program on the same display: it takes the focus with a window of its own, says
// "active" once the window system gave it, and when its standard input closes hands the focus
// to the window whose id it was given (as a task bar does when the person clicks there) and ends.
#include <QApplication>
#include <QSocketNotifier>
#include <QGuiApplication>
#include <QTimer>

#include <xcb/xcb.h>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("another program"));
  window.resize(200, 100);
  window.show();
  window.activateWindow();

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QApplication::activeWindow() != &window) return;
    std::puts("active");
    std::fflush(stdout);
    poll.stop();
  });
  poll.start(20);

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[64];
    if (read(STDIN_FILENO, buffer, sizeof buffer) > 0) return;
    input.setEnabled(false);
    if (argc > 1) {
      auto* x11 = application.nativeInterface<QNativeInterface::QX11Application>();
      const auto back = static_cast<xcb_window_t>(QString::fromLatin1(argv[1]).toULong());
      xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_POINTER_ROOT, back, XCB_CURRENT_TIME);
      xcb_flush(x11->connection());
    }
    QTimer::singleShot(200, &application, &QApplication::quit);
  });
  return application.exec();
}
