#include "uWindowDescriptions.h"

#include "Exceptions.h"

std::string WindowDescription(const std::string& name) {
  for (const TWindowDescription& description : WindowDescriptions())
    if (name == description.Name)
      return std::string(description.Text);
  throw EGeneral("Window description \"" + name + "\" not found!");
}
