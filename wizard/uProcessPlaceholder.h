#pragma once
// Stands for the installation page until the installation engine takes its place: it shows the
// page's title and does nothing.

#include "uCustomPageFrame.h"

class TfrmProcessPlaceholder : public TfrmPageCustomFrame {
public:
  TfrmProcessPlaceholder() : TfrmPageCustomFrame("") { lblTitle->set_text("Установка Sivrant..."); }
  void Activate() override { TfrmPageCustomFrame::Activate(); }
};
