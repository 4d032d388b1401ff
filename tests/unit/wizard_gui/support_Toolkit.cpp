// The toolkit for the page tests: a private Xvfb and GTK on it, once per test program; the
// display goes with the program.

#include <csignal>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/main.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ToolkitEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    // Display numbers far above the usual ones, tried at random: other programs on this
    // machine start their own servers from :0 upwards.
    std::srand(static_cast<unsigned>(getpid()));
    for (int attempt = 0; attempt < 20; ++attempt) {
      int number = 300 + std::rand() % 600;
      if (!StartXvfb(number))
        continue;
      int argc = 0;
      char** argv = nullptr;
      if (gtk_init_check(&argc, &argv)) {
        kit_ = new Gtk::Main(argc, argv);
        return;
      }
      StopXvfb();
    }
    FAIL() << "no virtual display could be started for the page tests";
  }

  void TearDown() override { StopXvfb(); }

private:
  pid_t xvfb_ = -1;
  Gtk::Main* kit_ = nullptr;

  // Starts Xvfb on :number and waits until it is ready (it writes its number then).
  bool StartXvfb(int number) {
    int fds[2];
    if (pipe(fds) != 0)
      return false;
    xvfb_ = fork();
    if (xvfb_ < 0)
      return false;
    if (xvfb_ == 0) {
      close(fds[0]);
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      std::string display = ":" + std::to_string(number);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0",
             "1024x768x24", "-nolisten", "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    char buffer[16] = {};
    ssize_t length = read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    if (length <= 0) { // the display is taken, or Xvfb is missing
      StopXvfb();
      return false;
    }
    setenv("DISPLAY", (":" + std::to_string(number)).c_str(), 1);
    return true;
  }

  void StopXvfb() {
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      waitpid(xvfb_, nullptr, 0);
    }
    xvfb_ = -1;
  }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

} // namespace
