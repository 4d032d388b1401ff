#pragma once
// The base frame of every wizard page and its protocol: DoChange recomputes the page's buttons
// and raises OnChange; Activate runs on every show and builds the page once per Reset; pages
// report the problems they find through OnError only.

#include <functional>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/builder.h>
#include <gtkmm/label.h>

#include "uLnxOS_Info.h"
#include "uPageWizardTypes.h"

class TInstallCustomSchemaClass;
class TfrmPageCustomFrame;

using TNotifyEvent = std::function<void(TfrmPageCustomFrame* Sender)>;
using TFrameErrorEvent =
    std::function<void(TfrmPageCustomFrame* Sender, const std::string& aError)>;

// The text every page reports when it was wired incompletely or finds a schema in no known mode.
extern const char* const ParamErrorText;

class TfrmPageCustomFrame : public Gtk::VBox {
public:
  Gtk::Label* lblTitle = nullptr;
  PWZRD_PageInfo PageInfo = nullptr;
  PLNX_OS_Information OSInfo = nullptr;
  TNotifyEvent OnChange;
  bool Initialized = false;
  std::string TempDir;
  bool ParamError = false;

  ~TfrmPageCustomFrame() override;

  // The page protocol.
  virtual void DoChange();
  virtual void Activate();
  virtual void Reset();

  TInstallCustomSchemaClass* Schema() const { return Schema_; }
  void SetSchema(TInstallCustomSchemaClass* schema) { Schema_ = schema; }
  const TFrameErrorEvent& OnError() const { return OnError_; }
  void SetOnError(TFrameErrorEvent handler) { OnError_ = std::move(handler); }

protected:
  // Builds the frame: the base description (lblTitle) and then the page's own description,
  // whose top object "pnPage" fills the rest of the frame. An empty name adds no page content.
  explicit TfrmPageCustomFrame(const std::string& pageDescription);

  // A widget of the page's description by its id; raises EGeneral naming a missing id.
  template <class TWidget> TWidget* Widget(const char* id) {
    TWidget* widget = nullptr;
    Builder->get_widget(id, widget);
    if (!widget)
      MissingWidget(id);
    return widget;
  }

  // Reports a problem through OnError; without a handler raises EGeneral with the text.
  void ReportError(const std::string& text);

  Glib::RefPtr<Gtk::Builder> Builder;

private:
  TInstallCustomSchemaClass* Schema_ = nullptr;
  TFrameErrorEvent OnError_;

  [[noreturn]] void MissingWidget(const char* id) const;
};
