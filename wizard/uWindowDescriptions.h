#pragma once
// The window descriptions (GtkBuilder files of resources/ui) compiled into the program.

#include <string>
#include <string_view>
#include <vector>

struct TWindowDescription {
  const char* Name; // the file name without ".ui", for example "TfrmAuthorization"
  std::string_view Text;
};

// Every embedded description, in no particular order.
const std::vector<TWindowDescription>& WindowDescriptions();

// The description of that name; raises EGeneral naming it when there is none.
std::string WindowDescription(const std::string& name);
