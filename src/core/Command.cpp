#include "core/Command.h"

namespace ql {

SplitCommand SplitBtnApp(std::string_view btnApp) {
  SplitCommand out;
  auto bar = btnApp.find('|');
  out.target = std::string(btnApp.substr(0, bar));
  if (bar != std::string_view::npos) out.parameters = std::string(btnApp.substr(bar + 1));
  auto sep = out.target.find_last_of("\\:");
  if (sep != std::string::npos) out.directory = out.target.substr(0, sep + 1);
  return out;
}

std::string FileNamePart(std::string_view path) {
  auto sep = path.find_last_of("\\:");
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

}  // namespace ql
