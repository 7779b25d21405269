// Activation as it happens between two real programs, on a real X server (Xvfb): another
// program taking the focus and the person coming back must leave the poem view alone; a box
// or window of the reader itself closing must reload the read-me.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTextEdit>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include "app/Program.h"
#include "app/Unit3.h"
#include "app/sici.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"

namespace {

// An Xvfb server on a display number it picks itself; stopped when the object goes.
class XServer {
 public:
  XServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "1024x768x24",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    char buffer[16] = {};
    std::string number;
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
      number.append(buffer, static_cast<std::size_t>(n));
      if (number.find('\n') != std::string::npos) break;
    }
    close(fds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) number.pop_back();
    if (!number.empty()) display_ = ":" + number;
  }
  ~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

const QString kReadme = QStringLiteral("Tavrin诗词大全 使用说明");

// The window's title as the window system holds it (_NET_WM_NAME, UTF-8).
QString windowSystemTitle(const QWidget& window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11->connection();
  const auto atom = [connection](const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return value;
  };
  const xcb_atom_t name = atom("_NET_WM_NAME"), utf8 = atom("UTF8_STRING");
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()), name, utf8, 0, 1024), nullptr);
  if (!reply) return {};
  const QString title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                          xcb_get_property_value_length(reply));
  free(reply);
  return title;
}

class Activation : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.write("readme.txt", text::wideToAnsi(kReadme.toStdU16String()));
    main = StartReader();
    ASSERT_TRUE(main);
    ASSERT_EQ(QApplication::activeWindow(), main.get()) << "the window system activated the reader";
    ASSERT_TRUE(waitFor([&] { return main->rc->toPlainText() == kReadme; }));
    main->rc->setPlainText(QStringLiteral("静夜思"));
  }
  void TearDown() override {
    main.reset();
    waitFor([] { return false; });
  }

  ReaderFolder folder;
  std::unique_ptr<Tfsici> main;
};

TEST_F(Activation, TheWindowSystemShowsTheCaptionWithoutTheApplicationTitleAppended) {
  ASSERT_TRUE(waitFor([&] { return !windowSystemTitle(*main).isEmpty(); }));
  EXPECT_EQ(windowSystemTitle(*main), QStringLiteral("Tavrin诗词大全  (104862首诗词)"));
}

TEST_F(Activation, AnotherProgramTakingTheFocusAndGivingItBackLeavesThePoemShown) {
  QProcess other;
  other.start(QStringLiteral(FOCUS_TAKER), {QString::number(main->winId())});
  ASSERT_TRUE(other.waitForReadyRead(5000)) << "the other program never got the focus";
  EXPECT_EQ(other.readAllStandardOutput().trimmed(), QByteArray("active"));
  EXPECT_TRUE(waitFor([] { return QApplication::activeWindow() == nullptr; }))
      << "the reader really lost the focus to the other program";

  other.closeWriteChannel();  // the person goes back to the reader
  ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == main.get(); }));
  ASSERT_TRUE(other.waitForFinished(5000));
  waitFor([] { return false; });
  EXPECT_EQ(main->rc->toPlainText(), QStringLiteral("静夜思"));
}

TEST_F(Activation, AMessageBoxOfTheReaderClosingReloadsTheReadme) {
  QTimer::singleShot(0, [] {
    // The real box, once the window system has made it the active window, is dismissed.
    waitFor([] { return qobject_cast<QMessageBox*>(QApplication::activeWindow()) != nullptr; });
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeWindow())) box->accept();
  });
  MessageDlg("x", TMsgDlgType::mtInformation, mbOK);
  EXPECT_TRUE(waitFor([&] { return main->rc->toPlainText() == kReadme; })) << main->rc->toPlainText().toStdString();
}

TEST_F(Activation, TheAboutWindowClosingReloadsTheReadme) {
  QTimer::singleShot(0, [] {
    waitFor([] { return QApplication::activeWindow() == Form3; });
    Form3->Button1Click();
  });
  main->Label5Click();
  EXPECT_TRUE(waitFor([&] { return main->rc->toPlainText() == kReadme; })) << main->rc->toPlainText().toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  XServer server;
  if (server.display().empty()) {
    std::fprintf(stderr, "Xvfb could not be started\n");
    return EXIT_FAILURE;
  }
  setenv("DISPLAY", server.display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  int status;
  {
    TApplication application(argc, argv);
    // As the program block does, before any window exists.
    application.SetTitle("Tavrin诗词大全"_gbk);
    status = RUN_ALL_TESTS();
  }
  return status;
}
