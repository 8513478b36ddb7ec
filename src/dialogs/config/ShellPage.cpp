#include "dialogs/config/ShellPage.h"

#include <array>

#include "controls/Picture.h"

namespace ql {

namespace {

using P = ShellPage;

constexpr std::array kControls{
    ControlRow{P::ActiveTask, Ctl::Check, "&Activate Quaylite Taskbar", 8, 4, 250, 17},
    ControlRow{0, Ctl::Group, " Task Button ", 8, 26, 190, 80},
    ControlRow{P::KovaCombo, Ctl::Combo, "Normal Button|Select. Button", 16, 44, 174, 21},
    ControlRow{P::TrackIconSize, Ctl::Combo, "16x16|32x32|48x48", 16, 74, 174, 21},
    ControlRow{0, Ctl::Group, " View ", 206, 26, 192, 80},
    ControlRow{0, Ctl::Group, " Label ", 8, 110, 190, 124},
    ControlRow{P::ChkRect, Ctl::Check, "Show &Rect label", 16, 128, 170, 17},
    ControlRow{P::BtnCol, Ctl::Button, "Label &Col.", 16, 150, 80, 23},
    ControlRow{P::ChkShadow, Ctl::Check, "3&D Effect on text", 16, 180, 170, 17},
    ControlRow{P::CoulOn, Ctl::Button, "Te&xt Col.", 16, 202, 80, 23},
    ControlRow{P::CoulText, Ctl::Button, "&Font", 104, 202, 80, 23},
    ControlRow{0, Ctl::Group, " Background ", 206, 110, 192, 70},
    ControlRow{P::RBON1, Ctl::Radio, "Te&xture", 214, 128, 90, 17},
    ControlRow{P::PBON1, Ctl::Button, "Choose", 310, 125, 80, 23},
    ControlRow{P::RBON2, Ctl::Radio, "Co&lor", 214, 154, 90, 17},
    ControlRow{P::PBON2, Ctl::Button, "Choose", 310, 151, 80, 23},
    ControlRow{0, Ctl::Group, " Misc ", 206, 184, 192, 56},
    ControlRow{P::ChkBorder, Ctl::Check, "Show the &Border", 214, 200, 176, 17},
    ControlRow{P::ChkIconDock, Ctl::Check, "Use doc&k icons", 214, 219, 176, 17},
    ControlRow{0, Ctl::Group, "Tray ", 8, 244, 390, 38},
    ControlRow{P::ChkTray, Ctl::Check, "Show tra&y on desktop", 16, 260, 200, 17},
    ControlRow{P::Label22, Ctl::Label, "Note : Windows Start Menu is still available by pressing CTRL-ESCAPE",
               8, 290, 390, 18},
};

// The " View " group, in which the preview stands centred.
constexpr RECT kViewGroup{206, 26, 206 + 192, 26 + 80};
constexpr int kGroupCaption = 8;

}  // namespace

ShellPage::ShellPage() : preview_(system_) {}
ShellPage::~ShellPage() = default;

std::span<const ControlRow> ShellPage::Table() const { return kControls; }

void ShellPage::Build() {
  // After the group box: the preview lies above it.
  if (!preview_.Create(hwnd(), kViewGroup.left, kViewGroup.top)) return;
  ::SetWindowLongPtrW(preview_.hwnd(), GWLP_ID, KovaTask);
  ::SetWindowTextW(preview_.hwnd(), L"Quaylite");  // its caption, for screen readers and tests
  ::EnableWindow(preview_.hwnd(), FALSE);
}

void ShellPage::PreviewStyle(const TConfigTask& t) {
  preview_.SetBigIcon(!t.SmallStyle && t.BigIcon);
  preview_.SetStyle(t.SmallStyle ? TaskStyle::sQL : TaskStyle::sNS);
  if (preview_.hwnd() == nullptr) return;
  const int x = kViewGroup.left + ((kViewGroup.right - kViewGroup.left - preview_.Width()) / 2);
  const int y = kViewGroup.top + kGroupCaption +
                ((kViewGroup.bottom - kViewGroup.top - kGroupCaption - preview_.Height()) / 2);
  ::SetWindowPos(preview_.hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShellPage::PreviewTexture(const std::string& file) {
  const win::Bitmap bitmap = LoadTexture(file);
  preview_.SetTexture(bitmap.get());
}

void ShellPage::ShowIconSize(bool smallStyle) const {
  Enable(CoulText, smallStyle);
  Enable(ChkRect, !smallStyle);
  Enable(BtnCol, !smallStyle);
}

void ShellPage::Load(const ConfigDraft& d) {
  const TConfigTask& t = d.cfg.Task;
  Check(ActiveTask).SetChecked(d.cfg.TaskBar);
  Combo(KovaCombo).SetItemSel(0);
  Combo(TrackIconSize).SetItemSel(t.SmallStyle ? 0 : (t.BigIcon ? 2 : 1));
  ShowIconSize(t.SmallStyle);
  Check(ChkRect).SetChecked(t.RectLbl);
  Check(ChkIconDock).SetChecked(t.IconDock);
  Check(ChkTray).SetChecked(t.ShowTray);
  Check(ChkShadow).SetChecked(t.Shadow);
  Check(ChkBorder).SetChecked(t.Border);
  const bool texture = !t.TextureFile.empty();
  Radio(texture ? RBON1 : RBON2).SetChecked(true);
  Enable(PBON1, texture);
  Enable(PBON2, !texture);

  PreviewTexture(t.TextureFile);
  preview_.SetTextSelec(nullptr);
  preview_.SetLabelFont(t.FontName, t.FontSize, t.FontBold, t.FontItalic);
  PreviewStyle(t);
  preview_.SetRectLbl(t.RectLbl);
  preview_.SetRColor(t.RColor);
  preview_.SetTColorOff(t.TColorOff);
  preview_.SetColorOff(t.ColorOff);
  preview_.SetBorder(t.Border);
  preview_.SetShadow(t.Shadow);
  preview_.SetWindow(kNoWindow, "Quaylite", {}, ctx_->dock->MainIconPath());
}

void ShellPage::Save(ConfigDraft& d) const {
  d.cfg.TaskBar = Check(ActiveTask).Checked();
  TConfigTask& t = d.cfg.Task;
  t.RectLbl = Check(ChkRect).Checked();
  t.Shadow = Check(ChkShadow).Checked();
  t.Border = Check(ChkBorder).Checked();
  t.IconDock = Check(ChkIconDock).Checked();
  t.ShowTray = Check(ChkTray).Checked();
}

void ShellPage::Changed(int id) {
  if (id == TrackIconSize) TrackIconSizeChange();
  if (id == KovaCombo) KovaComboChange();
}

void ShellPage::KovaComboChange() {
  // The state now edited shows in the preview; RBON1 and RBON2 keep their state.
  const TConfigTask& t = ctx_->draft->cfg.Task;
  const bool selected = EditsSelected();
  PreviewTexture(selected ? t.TextSelecFile : t.TextureFile);
  preview_.SetColorOff(selected ? t.ColorOn : t.ColorOff);
  preview_.SetTColorOff(selected ? t.TColorOn : t.TColorOff);
}

void ShellPage::TrackIconSizeChange() {
  TConfigTask& t = ctx_->draft->cfg.Task;
  const std::int32_t item = Combo(TrackIconSize).ItemSel();
  t.SmallStyle = item == 0;
  t.BigIcon = item == 2;
  ShowIconSize(t.SmallStyle);
  PreviewStyle(t);
}

void ShellPage::Clicked(int id) {
  TConfigTask& t = ctx_->draft->cfg.Task;
  ConfigChoosers& ch = *ctx_->choosers;
  HWND owner = ctx_->dialog;
  std::string& texture = EditsSelected() ? t.TextSelecFile : t.TextureFile;
  switch (id) {
    case RBON1:
      Enable(PBON1, true);
      Enable(PBON2, false);
      break;
    case RBON2:
      Enable(PBON1, false);
      Enable(PBON2, true);
      texture.clear();
      // The edited state has no texture any more: the preview shows its colour.
      preview_.SetTextSelec(nullptr);
      preview_.SetTexture(nullptr);
      break;
    case PBON1: {
      FileChoice choice{std::string(kPictureFilter), 1, {}, {}};
      if (!ch.OpenBMP || !ch.OpenBMP(owner, choice)) break;
      PreviewTexture(choice.fileName);
      texture = choice.fileName;
      break;
    }
    case PBON2: {
      COLORREF colour = EditsSelected() ? t.ColorOn : t.ColorOff;
      if (!ch.Colour || !ch.Colour(owner, colour)) break;
      (EditsSelected() ? t.ColorOn : t.ColorOff) = colour;
      texture.clear();
      preview_.SetColorOff(colour);
      preview_.SetTexture(nullptr);
      break;
    }
    case CoulOn: {
      COLORREF colour = EditsSelected() ? t.TColorOn : t.TColorOff;
      if (!ch.Colour || !ch.Colour(owner, colour)) break;
      (EditsSelected() ? t.TColorOn : t.TColorOff) = colour;
      preview_.SetTColorOff(colour);
      break;
    }
    case BtnCol: {
      COLORREF colour = t.RColor;
      if (!ch.Colour || !ch.Colour(owner, colour)) break;
      t.RColor = colour;
      preview_.SetRColor(colour);
      break;
    }
    case CoulText:
      CoulTextClick();
      break;
    default:
      Save(*ctx_->draft);  // the check boxes write their settings at once
      preview_.SetRectLbl(t.RectLbl);
      preview_.SetShadow(t.Shadow);
      preview_.SetBorder(t.Border);
      break;
  }
}

void ShellPage::CoulTextClick() {
  TConfigTask& t = ctx_->draft->cfg.Task;
  ConfigChoosers& ch = *ctx_->choosers;
  FontChoice font{t.FontName.empty() ? "MS Sans Serif" : t.FontName, t.FontSize == 0 ? 8 : t.FontSize,
                  t.FontBold, t.FontItalic, t.FontColor};
  if (!ch.Font || !ch.Font(ctx_->dialog, font)) return;
  if (font.size > 255 || font.size < 0) {
    // The size is kept in one byte: the whole choice is refused, not half of it.
    if (ch.Message) {
      ch.Message(ctx_->dialog, "The font size must be 255 points or less.", "Quaylite", MB_ICONERROR | MB_OK);
    }
    return;
  }
  t.FontName = font.name;
  t.FontColor = font.colour;
  t.FontSize = static_cast<std::uint8_t>(font.size);
  t.FontBold = font.bold;
  t.FontItalic = font.italic;
  preview_.SetLabelFont(t.FontName, t.FontSize, t.FontBold, t.FontItalic);
}

}  // namespace ql
