#include "uBaseMainForm.h"

#include <cairomm/context.h>
#include <cairomm/surface.h>
#include <gdkmm/general.h>
#include <gdkmm/screen.h>
#include <glibmm/exceptionhandler.h>
#include <pangomm/layout.h>
#include <sys/stat.h>

#include "DeferredCalls.h"
#include "Exceptions.h"
#include "uAuthorization.h"
#include "uFrWelcome.h"
#include "uFrmLicense.h"
#include "uLnxOS_Info.h"
#include "uProcessPlaceholder.h"
#include "uRunTempDir.h"
#include "uSimpleInstallSchema.h"
#include "uWindowDescriptions.h"
#include "uWizardDialogs.h"
#include "uWizardStyle.h"
#include "u_self_resource.h"
#include "ufrmChecketPackage.h"
#include "ufrmConfirmInstall.h"
#include "ufrmSelectInstallParams.h"
#include "ufrmSelectUser.h"
#include "ufrmSimpleTreeOptionSelect.h"

const char* const MainWindowCaption = "Установка - Модуль интеграции Тавир Про 2.0.1 под ОС Linux";

namespace {

const char* const TempDirPrefix = "/tmp/Kavex_Sivrant";
const platform::RgbColor GradientStart = platform::RgbColor::FromHex(0x00A5E8);
const platform::RgbColor GradientEnd = platform::RgbColor::FromHex(0x08649F);
constexpr int LogoWidth = 135;
constexpr int LogoHeight = 33;

// The product's logo: its name on the panel colour.
Glib::RefPtr<Gdk::Pixbuf> MakeLogo() {
  Cairo::RefPtr<Cairo::ImageSurface> surface =
      Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, LogoWidth, LogoHeight);
  Cairo::RefPtr<Cairo::Context> cr = Cairo::Context::create(surface);
  const double radius = 6;
  cr->begin_new_sub_path();
  cr->arc(LogoWidth - radius, radius, radius, -M_PI / 2, 0);
  cr->arc(LogoWidth - radius, LogoHeight - radius, radius, 0, M_PI / 2);
  cr->arc(radius, LogoHeight - radius, radius, M_PI / 2, M_PI);
  cr->arc(radius, radius, radius, M_PI, 3 * M_PI / 2);
  cr->close_path();
  cr->set_source_rgb(0x08 / 255.0, 0x64 / 255.0, 0x9F / 255.0);
  cr->fill();
  Glib::RefPtr<Pango::Layout> layout = Pango::Layout::create(cr);
  Pango::FontDescription font(wizard_style::FontFamily() + " Bold");
  font.set_absolute_size(15 * Pango::SCALE);
  layout->set_font_description(font);
  layout->set_text("Тавир Про");
  int textWidth = 0, textHeight = 0;
  layout->get_pixel_size(textWidth, textHeight);
  cr->move_to((LogoWidth - textWidth) / 2.0, (LogoHeight - textHeight) / 2.0);
  cr->set_source_rgb(1, 1, 1);
  layout->show_in_cairo_context(cr);
  surface->flush();
  // Cairo keeps premultiplied BGRA; the pixbuf wants RGBA.
  Glib::RefPtr<Gdk::Pixbuf> pixbuf =
      Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, LogoWidth, LogoHeight);
  const unsigned char* source = surface->get_data();
  guint8* target = pixbuf->get_pixels();
  for (int y = 0; y < LogoHeight; ++y) {
    for (int x = 0; x < LogoWidth; ++x) {
      const unsigned char* s = source + y * surface->get_stride() + x * 4;
      guint8* t = target + y * pixbuf->get_rowstride() + x * 4;
      unsigned alpha = s[3];
      auto unpremultiply = [alpha](unsigned value) {
        return static_cast<guint8>(alpha ? (value * 255 + alpha / 2) / alpha : 0);
      };
      t[0] = unpremultiply(s[2]);
      t[1] = unpremultiply(s[1]);
      t[2] = unpremultiply(s[0]);
      t[3] = static_cast<guint8>(alpha);
    }
  }
  return pixbuf;
}

bool FileExistsFollowingLinks(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

TfrmBaseInstall::TfrmBaseInstall() {
  LoadWindowDescription();
  FormCreate();
}

TfrmBaseInstall::~TfrmBaseInstall() {
  FormDestroy();
}

void TfrmBaseInstall::LoadWindowDescription() {
  Builder = Gtk::Builder::create_from_string(WindowDescription("TfrmBaseInstall"));
  Gtk::HBox* root = nullptr;
  Builder->get_widget("pnRoot", root);
  Builder->get_widget("pnImage", pnImage);
  Builder->get_widget("pnMain", pnMain);
  Builder->get_widget("lblMainTitle", lblMainTitle);
  Builder->get_widget("pnClient", pnClient);
  Builder->get_widget("pnButtons", pnButtons);
  Builder->get_widget("imgLogo", imgLogo);
  Builder->get_widget("btnBack", btnBack);
  Builder->get_widget("btnNext", btnNext);
  Builder->get_widget("btnRun", btnRun);
  Builder->get_widget("btnFinish", btnFinish);
  Builder->get_widget("btnCancel", btnCancel);
  Builder->get_widget("btnFormawd", btnFormawd);
  if (!root || !pnImage || !pnMain || !lblMainTitle || !pnClient || !pnButtons || !imgLogo ||
      !btnBack || !btnNext || !btnRun || !btnFinish || !btnCancel || !btnFormawd)
    throw EGeneral("The main window's description lacks a control!");

  set_title("frmMain");
  set_position(Gtk::WIN_POS_CENTER);
  set_resizable(false);
  add(*root);
  wizard_style::SetFontFamily(*this);

  plGradient1 = Gtk::manage(new platform::GradientPanel(GradientStart, GradientEnd));
  pnImage->add(*plGradient1);
  plGradient1->show();

  imgLogo->set(MakeLogo());
  imgLogo->get_accessible()->set_name("Логотип");
  wizard_style::WrapToWidth(*lblMainTitle);

  // Each button's tag is its button type.
  btnBack->signal_clicked().connect(sigc::mem_fun(*this, &TfrmBaseInstall::btnBackClick));
  btnNext->signal_clicked().connect(sigc::mem_fun(*this, &TfrmBaseInstall::btnNextClick));
  btnRun->signal_clicked().connect(sigc::mem_fun(*this, &TfrmBaseInstall::btnNextClick));
  btnFormawd->signal_clicked().connect(sigc::mem_fun(*this, &TfrmBaseInstall::btnNextClick));
  btnFinish->signal_clicked().connect(sigc::mem_fun(*this, &TfrmBaseInstall::btnFinishClick));
  btnCancel->signal_clicked().connect(sigc::mem_fun(*this, &TfrmBaseInstall::btnCancelClick));
  signal_delete_event().connect(sigc::mem_fun(*this, &TfrmBaseInstall::FormClose), false);
}

void TfrmBaseInstall::FormCreate() {
  SizeToMonitor();
  set_title(MainWindowCaption);
  try {
    MakeTempDir();
  } catch (const std::exception& error) {
    wizard_dialogs::ShowCriticalInitError(MainWindowCaption, error.what());
    platform::QueueAsyncCall([this] { CloseNoAsk(); });
    return;
  }

  delete FileResources; // a catalogue of an earlier window of this program
  FileResources = new TFileResourcesClass();
  FileResourcesCreated = true;
  FileResources->TempDir = TempDir;
  std::string resourceError;
  if (!FileResources->CheckResources(resourceError)) {
    wizard_dialogs::ShowCriticalInitError(MainWindowCaption, resourceError);
    platform::QueueAsyncCall([this] { CloseNoAsk(); });
    return;
  }
  try {
    LoadInstalledConfig();
    CreatePages();
    InitButtons();
    Start();
  } catch (const std::exception& error) {
    // A wizard without its schema or pages cannot go on (on RED OS, say, the schema has no
    // section for the host): say why and close without asking.
    wizard_dialogs::ShowCriticalInitError(MainWindowCaption, error.what());
    platform::QueueAsyncCall([this] { CloseNoAsk(); });
  }
}

void TfrmBaseInstall::SizeToMonitor() {
  Glib::RefPtr<Gdk::Screen> screen = get_screen();
  int monitor = 0;
  if (get_window())
    monitor = screen->get_monitor_at_window(get_window());
  Gdk::Rectangle geometry;
  screen->get_monitor_geometry(monitor, geometry);
  TWindowSize size = WindowSizeForMonitorHeight(geometry.get_height());
  set_size_request(size.Width, size.Height);
  resize(size.Width, size.Height);
  PlaceLogoOnImagePanel();
}

void TfrmBaseInstall::MakeTempDir() {
  TempDir = CreateExclusiveFolder(RunTempDirName(TempDirPrefix));
}

void TfrmBaseInstall::LoadInstalledConfig() {
  std::string path = InstalledConfigPath;
  if (!FileExistsFollowingLinks(path)) {
    std::string found;
    CommandExecuter->FindPath("/etc", InstalledConfigPath, found, false);
    path = found;
  }
  NewSchema = CreateSchema();
  bool installed = !Glib::ustring(path).empty() &&
                   path.find_first_not_of(" \t\r\n") != std::string::npos &&
                   NewSchema->ReadInstalledConfig(path);
  if (installed) {
    InstalledSchema = std::move(NewSchema);
    CurSchema = InstalledSchema.get();
    NewSchema = CreateSchema();
    NewSchema->InstalledUserInfo->CopyFrom(InstalledSchema->InstalledUserInfo.get());
  } else {
    NewSchema.reset();
    NewSchema = CreateSchema();
    InstalledSchema.reset();
    CurSchema = NewSchema.get();
  }
  if (OSInformation && OSInformation->User.SudoNoPassword)
    CheckPTraceLock();
}

std::unique_ptr<TInstallCustomSchemaClass> TfrmBaseInstall::CreateSchema() {
  TLNX_OS_Type osType = OSInformation ? OSInformation->OSType : lotUnknown;
  auto schema = std::make_unique<TInstallCustomSchemaClass>(osType, TempDir);
  schema->LoadSchemaFromResource(frtInstallSchema);
  schema->ReadPackageInfo();
  schema->SetPackagesOnChange([this](TSchm_CustomElement* sender) { OnPackagesChanged(sender); });
  return schema;
}

void TfrmBaseInstall::CheckPTraceLock() {
  bool active = CommandExecuter->IsPtraceLockActive();
  for (TInstallCustomSchemaClass* schema : {InstalledSchema.get(), NewSchema.get()}) {
    if (!schema)
      continue;
    schema->System->PTraceOff.SetSelected(active);
    schema->System->PTraceOff.Visible = active;
  }
  if (InstalledSchema && NewSchema)
    NewSchema->InstalledUserInfo->CopyFrom(InstalledSchema->InstalledUserInfo.get());
}

void TfrmBaseInstall::LoadDefaultPages() {
  Pages = DefaultWizardPages();
}

void TfrmBaseInstall::CreatePages() {
  LoadDefaultPages();
  for (int32_t index = wptNone; index <= wptProcess; ++index) {
    TWZRD_PageType kind = static_cast<TWZRD_PageType>(index);
    if (!Pages[kind].Enabled) {
      PageFrames[kind].reset();
      continue;
    }
    switch (kind) {
    case wptWellcome:
      CreateWellcomePage();
      break;
    case wptLicense:
      CreateLicensePage();
      break;
    case wptSelectUser:
      CreateSelectUserPage();
      break;
    case wptInstType:
      CreateInstTypePage();
      break;
    case wptCSOConnect:
      CreateCSOConnectPage();
      break;
    case wptSelect:
      CreateSelectPage();
      break;
    case wptMasterKey:
      CreateMasterKeyPage();
      break;
    case wptPKGCheck:
      CreatePKGCheckPage();
      break;
    case wptPGConnect:
      CreatePGConnectPage();
      break;
    case wptConfirm:
      CreateConfirmPage();
      break;
    case wptProcess:
      CreateProcessPage();
      break;
    case wptNone:
      break;
    }
    WireFrame(kind);
  }
}

void TfrmBaseInstall::WireFrame(TWZRD_PageType kind) {
  TfrmPageCustomFrame* frame = PageFrames[kind].get();
  if (!frame)
    return;
  frame->PageInfo = &Pages[kind];
  frame->OSInfo = OSInformation;
  frame->SetSchema(CurSchema);
  frame->TempDir = TempDir;
  frame->OnChange = [this](TfrmPageCustomFrame* sender) { OnPageChange(sender); };
  frame->SetOnError([this](TfrmPageCustomFrame* sender, const std::string& error) {
    OnPageError(sender, error);
  });
}

void TfrmBaseInstall::CreateWellcomePage() {
  auto page = std::make_unique<TfrmWellcome>();
  page->OnAuthorized = [this](TfrmPageCustomFrame* sender) { OnWellcomeAuthorized(sender); };
  PageFrames[wptWellcome] = std::move(page);
}

void TfrmBaseInstall::CreateLicensePage() {
  PageFrames[wptLicense] = std::make_unique<TfrmLicense>();
}

void TfrmBaseInstall::CreateSelectUserPage() {
  auto page = std::make_unique<TfrmSelectUser>();
  page->OnNewInstallChanged = [this](bool asNew) { SelectSchema(asNew); };
  PageFrames[wptSelectUser] = std::move(page);
}

void TfrmBaseInstall::CreateInstTypePage() {
  auto page = std::make_unique<TfrmSelectInstallParams>();
  page->OnTypeChanged = [this](TfrmPageCustomFrame* sender) { OnPresetChanged(sender); };
  PageFrames[wptInstType] = std::move(page);
}

void TfrmBaseInstall::CreateSelectPage() {
  PageFrames[wptSelect] = std::make_unique<TfrmSimpleTreeOptionSelect>();
}

void TfrmBaseInstall::CreatePKGCheckPage() {
  PageFrames[wptPKGCheck] = std::make_unique<TfrmChecketPackage>();
}

void TfrmBaseInstall::CreateConfirmPage() {
  PageFrames[wptConfirm] = std::make_unique<TfrmConfirmInstall>();
}

void TfrmBaseInstall::CreateProcessPage() {
  PageFrames[wptProcess] = std::make_unique<TfrmProcessPlaceholder>();
}

void TfrmBaseInstall::InitButtons() {
  Buttons = {btnBack, btnNext, btnRun, btnFinish, btnCancel, btnFormawd};
}

void TfrmBaseInstall::Start() {
  CurPage = wptNone;
  GoPage(true);
}

void TfrmBaseInstall::UpdateButtons() {
  const TWZRD_PageInfo& info = Pages[CurPage];
  for (int32_t index = pbtBack; index <= pbtForward; ++index) {
    TPage_ButtonType type = static_cast<TPage_ButtonType>(index);
    Gtk::Button* button = Buttons[type];
    if (!button)
      continue;
    button->set_visible(ButtonSetHas(info.VisibleButtons, type));
    button->set_sensitive(ButtonSetHas(info.EnabledButtons, type));
  }
}

void TfrmBaseInstall::GoPage(bool forward) {
  ShowPage(false);
  CurPage = StepThroughPages(Pages, CurPage, forward);
  if (CurPage == wptWellcome)
    PlaceLogoOnImagePanel();
  else
    MoveLogoToButtons();
  const TWZRD_PageInfo& info = Pages[CurPage];
  lblMainTitle->set_visible(info.ShowMainTitle);
  lblMainTitle->set_text(info.Title);
  wizard_style::SetFont(*lblMainTitle, info.TitleFontSize, false, true);
  pnImage->set_visible(info.ShowImagePanel);
  UpdateButtons();
  ShowPage(true);
}

void TfrmBaseInstall::ShowPage(bool show) {
  TfrmPageCustomFrame* frame = PageFrames[CurPage].get();
  if (!frame)
    return;
  if (show) {
    if (!frame->get_parent())
      pnClient->pack_start(*frame, Gtk::PACK_EXPAND_WIDGET, 0);
    frame->lblTitle->set_visible(Pages[CurPage].ShowFrameTitle);
    frame->show();
    frame->Activate();
  } else {
    if (frame->get_parent())
      pnClient->remove(*frame);
    frame->hide();
  }
}

void TfrmBaseInstall::PlaceLogoOnImagePanel() {
  if (!imgLogo || !plGradient1)
    return;
  int height = 0, width = 0;
  get_size_request(width, height);
  if (imgLogo->get_parent() != plGradient1) {
    imgLogo->reference();
    if (imgLogo->get_parent())
      imgLogo->get_parent()->remove(*imgLogo);
    plGradient1->put(*imgLogo, 6, height - LogoHeight - 7);
    imgLogo->unreference();
  } else {
    plGradient1->move(*imgLogo, 6, height - LogoHeight - 7);
  }
}

void TfrmBaseInstall::MoveLogoToButtons() {
  if (imgLogo->get_parent() == pnButtons)
    return;
  imgLogo->reference();
  if (imgLogo->get_parent())
    imgLogo->get_parent()->remove(*imgLogo);
  pnButtons->pack_start(*imgLogo, Gtk::PACK_SHRINK, 4);
  pnButtons->reorder_child(*imgLogo, 0);
  imgLogo->unreference();
}

void TfrmBaseInstall::OnPageChange(TfrmPageCustomFrame*) {
  UpdateButtons();
}

void TfrmBaseInstall::OnWellcomeAuthorized(TfrmPageCustomFrame*) {
  CheckPTraceLock();
}

void TfrmBaseInstall::SelectSchema(bool asNew) {
  if (asNew)
    CurSchema = NewSchema.get();
  else if (InstalledSchema)
    CurSchema = InstalledSchema.get();
  if (PageFrames[wptSelectUser])
    PageFrames[wptSelectUser]->SetSchema(CurSchema);
  for (int32_t index = wptInstType; index <= wptProcess; ++index) {
    TfrmPageCustomFrame* frame = PageFrames[index].get();
    if (!frame)
      continue;
    frame->Reset();
    frame->SetSchema(CurSchema);
  }
}

void TfrmBaseInstall::OnPresetChanged(TfrmPageCustomFrame*) {
  if (PageFrames[wptSelect])
    PageFrames[wptSelect]->Reset();
}

void TfrmBaseInstall::OnPackagesChanged(TSchm_CustomElement*) {
  if (PageFrames[wptPKGCheck])
    PageFrames[wptPKGCheck]->Reset();
}

void TfrmBaseInstall::OnPageError(TfrmPageCustomFrame*, const std::string& aError) {
  btnCancel->set_label("Закрыть");
  Pages[CurPage].EnabledButtons = ButtonBit(pbtCancel);
  Pages[CurPage].VisibleButtons = ButtonBit(pbtCancel);
  UpdateButtons();
  AskOnClose = false;
  wizard_dialogs::ShowError(MainWindowCaption, aError);
}

void TfrmBaseInstall::CloseNoAsk() {
  AskOnClose = false;
  RequestClose();
}

void TfrmBaseInstall::RequestClose() {
  if (Closing)
    return;
  if (AskOnClose &&
      !wizard_dialogs::AskYesNo(MainWindowCaption, "Вы действительно хотите прекратить установку?"))
    return;
  Closing = true;
  hide(); // ends the event loop that runs this window
}

bool TfrmBaseInstall::FormClose(GdkEventAny*) {
  RequestClose();
  return true; // the window is hidden, not destroyed, by RequestClose
}

void TfrmBaseInstall::btnBackClick() {
  GoPage(false);
}
void TfrmBaseInstall::btnNextClick() {
  GoPage(true);
}
void TfrmBaseInstall::btnCancelClick() {
  RequestClose();
}

void TfrmBaseInstall::btnFinishClick() {
  AskOnClose = false;
  RequestClose();
}

void TfrmBaseInstall::FormDestroy() {
  bool reboot = CurSchema && CurSchema->RebootAfter;
  ShowPage(false);
  for (std::unique_ptr<TfrmPageCustomFrame>& frame : PageFrames)
    frame.reset();
  CurSchema = nullptr;
  InstalledSchema.reset();
  NewSchema.reset();
  if (!CommandExecuter)
    return;
  std::string output;
  if (reboot) {
    CommandExecuter->ExecCommand("shutdown -r now", output, true);
  } else if (!TempDir.empty()) {
    bool asRoot = OSInformation && OSInformation->User.SudoNoPassword;
    CommandExecuter->RemoveTree(TempDir, output, asRoot);
  }
}
