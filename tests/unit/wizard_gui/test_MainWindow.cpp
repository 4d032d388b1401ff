// The main window on this machine's toolkit, with the product's resources and a host record of
// an Astra Linux sudoer whom sudo asks for a password: creation, navigation, the page error and
// the close question, and the clean-up when it goes.

#include <filesystem>
#include <map>

#include <gtest/gtest.h>
#include <gtkmm/main.h>
#include <gtkmm/messagedialog.h>
#include <sys/stat.h>

#include "uBaseMainForm.h"
#include "uLnxOS_Info.h"
#include "uSimpleInstallSchema.h"
#include "u_self_resource.h"

namespace {

// Answers every message dialog that shows while it lives, from the main loop, and keeps the
// dialogs' texts.
class DialogAnswerer {
public:
  explicit DialogAnswerer(Gtk::ResponseType response) : Response(response) {
    Timer = Glib::signal_timeout().connect(
        [this] {
          for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
            auto* dialog = dynamic_cast<Gtk::MessageDialog*>(window);
            if (dialog && dialog->get_visible()) {
              Texts.push_back(dialog->property_text().get_value());
              dialog->response(Response);
            }
          }
          return true;
        },
        20);
  }
  ~DialogAnswerer() { Timer.disconnect(); }
  std::vector<std::string> Texts;

private:
  Gtk::ResponseType Response;
  sigc::connection Timer;
};

void Pump() {
  while (Gtk::Main::events_pending())
    Gtk::Main::iteration(false);
}

class MainWindow : public ::testing::Test {
protected:
  void SetUp() override {
    OSInformation = new TLNX_OS_Information();
    OSInformation->OSType = lotAstra_1_8;
    OSInformation->User.Name = "installer";
    OSInformation->User.Access = luaSudories;
    OSInformation->User.SudoNoPassword = false;
    CommandExecuter = new TLNX_CommandExecuter(lotAstra_1_8);
    window = std::make_unique<TfrmBaseInstall>();
    window->show();
    Pump();
  }
  void TearDown() override {
    window.reset();
    FreeFileResources();
    FreeOSInformation();
  }

  std::map<std::string, bool> Buttons() {
    std::map<std::string, bool> shown;
    for (Gtk::Button* button : window->Buttons)
      if (button->get_visible())
        shown[button->get_label()] = button->get_sensitive();
    return shown;
  }

  std::unique_ptr<TfrmBaseInstall> window;
};

TEST_F(MainWindow, OpensOnTheWelcomePageOfANewInstallation) {
  EXPECT_EQ(window->get_title(), "Установка - Модуль интеграции Тавир Про 2.0.1 под ОС Linux");
  int width = 0, height = 0;
  window->get_size_request(width, height);
  EXPECT_EQ(width, 800); // the virtual screen is 768 high
  EXPECT_EQ(height, 560);
  EXPECT_EQ(window->CurPage, wptWellcome);
  EXPECT_EQ(window->Pages[wptWellcome].Prev, wptNone);
  EXPECT_EQ(window->CurSchema, window->NewSchema.get());
  EXPECT_EQ(window->InstalledSchema, nullptr);
  EXPECT_EQ(window->CurSchema->Mode, ModeBit(iomNew));
  EXPECT_EQ(Buttons(), (std::map<std::string, bool>{{"Вперёд", false}, {"Отмена", true}}));
  EXPECT_TRUE(window->pnImage->get_visible());
  EXPECT_EQ(window->imgLogo->get_parent(), window->plGradient1);

  struct stat info {};
  ASSERT_EQ(stat(window->TempDir.c_str(), &info), 0) << window->TempDir;
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(window->TempDir.rfind("/tmp/Kavex_Sivrant_", 0), 0u) << window->TempDir;
}

TEST_F(MainWindow, ForwardMovesRecordTheRouteAndSetTheFrameAround) {
  window->GoPage(true);
  EXPECT_EQ(window->CurPage, wptLicense);
  EXPECT_EQ(window->Pages[wptLicense].Prev, wptWellcome);
  EXPECT_EQ(window->lblMainTitle->get_text(), "Лицензионный договор");
  EXPECT_FALSE(window->pnImage->get_visible());
  EXPECT_EQ(window->imgLogo->get_parent(), window->pnButtons);
  EXPECT_TRUE(window->PageFrames[wptLicense]->lblTitle->get_visible());
  EXPECT_FALSE(window->PageFrames[wptWellcome]->get_parent()) << "the page left stays attached";
  EXPECT_EQ(Buttons(),
            (std::map<std::string, bool>{{"Назад", true}, {"Дальше", false}, {"Отмена", true}}));
  window->GoPage(false);
  EXPECT_EQ(window->CurPage, wptWellcome);
  EXPECT_TRUE(window->pnImage->get_visible());
  EXPECT_EQ(window->imgLogo->get_parent(), window->plGradient1);
}

TEST_F(MainWindow, SelectingTheSchemaResetsThePagesAfterTheUserPage) {
  for (int i = 0; i < 3; ++i)
    window->GoPage(true); // licence, user, type: the type page is built
  ASSERT_EQ(window->CurPage, wptInstType);
  ASSERT_TRUE(window->PageFrames[wptInstType]->Initialized);
  TInstallCustomSchemaClass* before = window->CurSchema;
  window->SelectSchema(false); // no installed schema: the current one stays
  EXPECT_EQ(window->CurSchema, before);
  EXPECT_FALSE(window->PageFrames[wptInstType]->Initialized);
  EXPECT_TRUE(window->PageFrames[wptLicense]->Initialized);
}

TEST_F(MainWindow, PageErrorLeavesOnlyCloseAndClosingAsksNothing) {
  {
    DialogAnswerer ok(Gtk::RESPONSE_OK);
    window->OnPageError(window->PageFrames[wptWellcome].get(), "Что-то сломалось");
    EXPECT_EQ(ok.Texts, std::vector<std::string>{"Что-то сломалось"});
  }
  EXPECT_EQ(Buttons(), (std::map<std::string, bool>{{"Закрыть", true}}));
  EXPECT_FALSE(window->AsksBeforeClose());
  DialogAnswerer no(Gtk::RESPONSE_NO);
  window->btnCancel->clicked();
  Pump();
  EXPECT_TRUE(no.Texts.empty()) << "closing after a page error asked";
  EXPECT_FALSE(window->get_visible());
}

TEST_F(MainWindow, CancelAsksAndNoKeepsTheWizard) {
  {
    DialogAnswerer no(Gtk::RESPONSE_NO);
    window->btnCancel->clicked();
    EXPECT_EQ(no.Texts, std::vector<std::string>{"Вы действительно хотите прекратить установку?"});
  }
  EXPECT_TRUE(window->get_visible());
  DialogAnswerer yes(Gtk::RESPONSE_YES);
  window->btnCancel->clicked();
  EXPECT_EQ(yes.Texts.size(), 1u);
  EXPECT_FALSE(window->get_visible());
}

TEST_F(MainWindow, FinishClosesWithoutTheQuestion) {
  DialogAnswerer no(Gtk::RESPONSE_NO);
  window->btnFinish->clicked();
  EXPECT_TRUE(no.Texts.empty());
  EXPECT_FALSE(window->get_visible());
}

TEST_F(MainWindow, GoingAwayRemovesTheRunFolder) {
  std::string folder = window->TempDir;
  ASSERT_TRUE(std::filesystem::exists(folder + "/.get_pkginfo.sh")) << "the schema's script";
  window.reset();
  EXPECT_FALSE(std::filesystem::exists(folder));
}

} // namespace
