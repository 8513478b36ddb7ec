// TKovaRecycler, the recycle bin face (module kind "Recycler"): the shell icon of its path;
// files dropped on it go to the recycle bin, after "Send to the recycle bin ?" when Confirm is
// on; a plain right click opens the recycle bin's own shell menu, a left double click runs that
// menu's default command; every other press is the dock's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/TileFace.h"
#include "win/Handles.h"

namespace ql {

class TKovaRecycler final : public TileFace {
 public:
  static constexpr const char* kDefaultPath = "c:\\recycled";

  // `appWindow`: the application's main window, which owns the question and the shell commands.
  TKovaRecycler(TileSite& site, HWND appWindow);
  ~TKovaRecycler() override;

  // Stores the path and loads its shell icon (index 0 for programs and libraries); repaints.
  void SetIconPath(std::string path);
  const std::string& IconPath() const { return iconPath_; }
  // Stores the edge of the icon and loads it again.
  void SetIconSize(std::int32_t size);
  std::int32_t IconSize() const { return iconSize_; }
  void SetConfirm(bool confirm) { confirm_ = confirm; }
  bool Confirm() const { return confirm_; }
  HICON Icon() const { return icon_.get(); }

  void Paint(win::Canvas& canvas, int width, int height) const override;
  bool Mouse(MouseAction action, const MouseEvent& e) override;
  bool Drop(const std::vector<std::string>& files) override;
  std::string HintAt(POINT) const override { return "Recycler"; }

  // The recycle bin's shell menu at the mouse position, or (defaultOnly) its default command.
  void ShellMenu(bool defaultOnly);

  // Seams, set to the system's at construction: the Yes/No question (true: Yes), and the move of
  // the "|"-joined list to the recycle bin.
  std::function<bool(HWND owner, const std::string& question)> Ask;
  std::function<void(HWND owner, const std::string& list)> Recycle;

 private:
  void LoadIcon();

  TileSite& site_;
  HWND appWindow_;
  std::string iconPath_ = kDefaultPath;
  std::int32_t iconSize_ = 48;
  bool confirm_ = true;
  win::Icon icon_;
};

}  // namespace ql
