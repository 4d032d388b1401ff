// Program entry: one instance per machine, the host probe with its refusal dialogs, then the
// wizard's main window. Every way out ends with exit status 0.
#include <cstdio>
#include <exception>
#include <glibmm/exceptionhandler.h>
#include <gtk/gtk.h>
#include <gtkmm/main.h>

#include "SingleInstance.h"
#include "StartupChecks.h"
#include "StartupDialogs.h"
#include "uLnxOS_Info.h"
#include "uMain.h"
#include "u_self_resource.h"

namespace {

// Fixed identifier of this program on the local IPC channel.
constexpr const char* kApplicationId = "{6F1C2B9E-3A47-4D8E-9B52-7C0E1D4A8F36}";

// An exception that escapes a window's handler is shown, and the wizard goes on.
void ShowUnhandledException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowErrorMessage(kSetupWindowTitle, error.what());
  } catch (const Glib::Exception& error) {
    ShowErrorMessage(kSetupWindowTitle, error.what());
  }
}

void FreeModules() {
  FreeFileResources();
  FreeOSInformation();
}

} // namespace

int main(int argc, char* argv[]) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "sivrant-setup: cannot open the display\n");
    return 0;
  }
  Gtk::Main toolkit(argc, argv);

  platform::SingleInstance instance;
  if (instance.AnotherInstanceRunning(kApplicationId))
    return 0;

  const StartupCheckResult check = ProbeHostForStartup();
  if (check.Verdict != StartupVerdict::Run) {
    ShowStartupRefusal(check);
    FreeModules();
    return 0;
  }

  Glib::add_exception_handler(sigc::ptr_fun(&ShowUnhandledException));
  try {
    TfrmMain mainForm;
    Gtk::Main::run(mainForm);
  } catch (const std::exception& error) {
    ShowErrorMessage(kSetupWindowTitle, error.what());
  } catch (const Glib::Exception& error) {
    ShowErrorMessage(kSetupWindowTitle, error.what());
  }
  FreeModules();
  return 0;
}
