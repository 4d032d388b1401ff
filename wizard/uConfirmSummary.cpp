#include "uConfirmSummary.h"

#include "uSimpleInstallSchema.h"

const std::vector<std::string>& TConfirmSummary::Build() {
  Lines_.clear();
  AddSystemSection();
  AddUserSection();
  return Lines_;
}

std::string TConfirmSummary::Text() const {
  std::string text;
  for (size_t i = 0; i < Lines_.size(); ++i) {
    if (i > 0)
      text += '\n';
    text += Lines_[i];
  }
  return text;
}

std::string TConfirmSummary::Indent(uint16_t n) const {
  return std::string(n, ' ');
}

void TConfirmSummary::AddElementLine(const TSchm_CustomSettingsElement& element, uint16_t indent) {
  if (element.IsActive())
    Lines_.push_back(Indent(indent) + element.Caption + ": да");
}

void TConfirmSummary::AddSystemSection() {
  const TSchm_CustomSystemSettings& system = *Schema.System;
  if (!system.Visible || !(system.PTraceOff.IsActive() || Schema.Packages->AnyAction()))
    return;
  Lines_.push_back(system.Caption);
  AddPackageLines(2);
  AddPTraceLine(2);
}

void TConfirmSummary::AddPackageLines(uint16_t indent) {
  const TSchm_PackageList& packages = *Schema.Packages;
  if (!packages.AnyAction())
    return;
  Lines_.push_back(Indent(indent) + packages.Caption);
  for (int32_t index = 0; index < packages.Count(); ++index) {
    const TSchm_PackageItem& package = packages.Items(index);
    if (!package.Selected)
      continue;
    if (package.Action == slpaInstall)
      Lines_.push_back(Indent(indent + 2) + package.Name + ": установить " +
                       package.CandidateVer.Text);
    else if (package.Action == slpaUpdate)
      Lines_.push_back(Indent(indent + 2) + package.Name + ": обновить до " +
                       package.CandidateVer.Text);
  }
}

void TConfirmSummary::AddPTraceLine(uint16_t indent) {
  const TSchm_CustomSettingsElement& ptrace = Schema.System->PTraceOff;
  if (ptrace.Visible && ptrace.Selected)
    Lines_.push_back(Indent(indent) + ptrace.Caption + ": да");
}

void TConfirmSummary::AddUserSection() {
  Lines_.push_back(Schema.User->Caption);
  AddUserLine(2);
  AddUserOptionLines(4);
}

void TConfirmSummary::AddUserLine(uint16_t indent) {
  Lines_.push_back(Indent(indent) + "Пользователь: " + Schema.UserInfo->UserName);
}

void TConfirmSummary::AddUserOptionLines(uint16_t indent) {
  const TSchm_CustomUserSettings& user = *Schema.User;
  AddElementLine(user.WineAssocOn, indent);
  AddElementLine(user.WineAutoStart, indent);
  AddElementLine(user.FontSmooth, indent);
  AddElementLine(user.WineDecorated, indent);
  if (user.CreateLinks.Selected) {
    Lines_.push_back(Indent(indent) + user.CreateLinks.Caption + ":");
    for (int32_t index = 0; index < user.CreateLinks.Links.Count(); ++index) {
      const TSchm_LinkItem& link = user.CreateLinks.Links.Items(index);
      if (link.Selected)
        Lines_.push_back(Indent(indent + 4) + link.DisplayText() + ": да");
    }
  }
  if (ModeSetHas(Schema.Mode, iomWDopInstall))
    Lines_.push_back(Indent(indent + 4) + "Принудительная установка дополнений wine: да");
}
