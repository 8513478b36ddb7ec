// The Info page: the Windows version and the free memory, the program's icon and version, and the
// project's two addresses.
#pragma once

#include <string>

#include "controls/Hints.h"
#include "dialogs/config/ConfigPage.h"
#include "win/Handles.h"

namespace ql {

// The project's own addresses, opened by the two links.
inline constexpr char kContactAddress[] = "maintainers@users.noreply.c-seed-f7f5f4bf.example";
inline constexpr char kWebAddress[] = "https://c-seed-f7f5f4bf.example/quaylite";

class AidePage final : public ConfigPage {
 public:
  enum : int { WinVersionLabel = 600, Label6, ProgramIcon, VersionLabel, Mail, Web };

  AidePage();
  ~AidePage() override;

  void Load(const ConfigDraft&) override {}
  void Save(ConfigDraft&) const override {}
  void Clicked(int id) override;

  // Label6: the Windows version, two carriage returns, and the free memory percentage.
  void FillInfo() const;

  // How a link is opened (the shell's "open"); tests replace it.
  std::function<void(const std::string& target)> OpenLink;

 protected:
  std::span<const ControlRow> Table() const override;
  void Build() override;

 private:
  win::Icon icon_;
  Hints hints_;
};

}  // namespace ql
