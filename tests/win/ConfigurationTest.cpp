// The configuration dialog on real windows against a fake dock: its shape and captions, the
// opening that loads every control from the records, OK writing them back, Cancel writing
// nothing, the modules' Add/Remove pairs, the task bar page's icon sizes, the preview following
// its controls, and the .qlx export and import with their messages. Handlers are driven directly;
// the one modal run (Cancel by Escape) has a watchdog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "FakeDock.h"
#include "PixelSurface.h"
#include "core/Qlx.h"
#include "dialogs/config/Configuration.h"
#include "win/Utf.h"

namespace {

using ql::ConfigMainPage;
using ql::ModulesPage;
using ql::ShellPage;
using ql::TConfiguration;
using ql::ViewPage;

HWND OwnerWindow() {
  static const HWND shared = [] {
    HWND h = ::CreateWindowExW(0, L"STATIC", L"config owner", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(h, SW_SHOWNOACTIVATE);
    return h;
  }();
  return shared;
}

std::string WindowText(HWND h) {
  wchar_t buf[512] = {};
  ::GetWindowTextW(h, buf, 512);
  return ql::win::Narrow(buf);
}

BOOL CALLBACK CollectText(HWND h, LPARAM out) {
  reinterpret_cast<std::multiset<std::string>*>(out)->insert(WindowText(h));
  return TRUE;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Message {
  std::string text;
  UINT type;
};

class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create(OwnerWindow(), dock));
    dialog.Choosers().Message = [this](HWND, std::string_view text, std::string_view, UINT type) {
      messages.push_back({std::string(text), type});
      return answer;
    };
    dialog.Choosers().Colour = [this](HWND, COLORREF& c) {
      if (!colour) return false;
      c = *colour;
      return true;
    };
    dialog.Choosers().OpenBMP = dialog.Choosers().Open =
        dialog.Choosers().Save = [this](HWND, ql::FileChoice& f) {
          chosen.push_back(f);
          if (file.empty()) return false;
          f.fileName = file;
          return true;
        };
  }
  void TearDown() override {
    for (const auto& p : scratch) std::filesystem::remove(p);
  }
  std::string Scratch(const std::string& name, const std::string& contents) {
    const auto p = std::filesystem::temp_directory_path() / name;
    std::ofstream(p, std::ios::binary) << contents;
    scratch.push_back(p);
    return p.string();
  }

  ql::test::FakeDock dock;
  TConfiguration dialog;
  std::vector<Message> messages;
  int answer = IDYES;
  std::optional<COLORREF> colour;
  std::string file;
  std::vector<ql::FileChoice> chosen;
  std::vector<std::filesystem::path> scratch;
};

TEST_F(ConfigurationTest, ShapePagesAndCaptions) {
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  EXPECT_EQ(client.right, TConfiguration::kClientWidth);
  EXPECT_EQ(client.bottom, TConfiguration::kClientHeight);
  EXPECT_EQ(WindowText(dialog.hwnd()), "Quaylite Configuration");
  const LONG style = ::GetWindowLongW(dialog.hwnd(), GWL_STYLE);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

  std::multiset<std::string> texts;
  ::EnumChildWindows(dialog.hwnd(), CollectText, reinterpret_cast<LPARAM>(&texts));
  for (const char* caption :
       {"Config", "Buttons", "Modules", "Taskbar", "Info", "&Import config.", "&Export config.", "&Cancel",
        "&OK",
        // Config
        " Quaylite Menu ", "&My Computer", "&Network Neighborhood", "&Control Panel", "&Desktop Icons",
        "M&y Documents", "&Printers", "Windows &Start Menu", "&Format Floppy disk", " Menu Style ",
        "Quaylite St&yle Menu", " Normal menu item ", " Selected menu item ", " Dock Placement ",
        "Dock to the Left", "Resi&ze desktop", " Options ", "Dock al&ways On Top",
        "Run app with sin&gle click", "&Hide desktop icons",
        // Buttons
        " View ", "Reset Textures", "Confirm &Delete",
        "If you delete a group, all buttons inside are also deleted !", " Background ", "&Texture",
        "Sta&ndard", "Bro&wse", "Cho&ose", "Show the &Border", "Show &dots on group button",
        "&Activate sound events", " Expand Dock ", " Collapse Dock ", " Open Group ", " Close Dock ",
        // Modules
        " Date and Time ", "Add", "Remove", "Mode AM/PM", " Virtual Screens ", " RAM/CPU ",
        "Works only for Win95/98", " Recycle Bin ", "&Confirm delete",
        "To change the recycle bin icon, double-right click on it.", " Protection ",
        "Hotkey :", "&Lock Windows", "Lock on &startup",
        "If you lock Windows, a password is  asked to unlock it (empty by default)",
        // Taskbar
        "&Activate Quaylite Taskbar", " Task Button ", "Normal Button", "16x16", "Show &Rect label",
        "Label &Col.", "3&D Effect on text", "Te&xt Col.", "&Font", "Te&xture", "Choose", "Co&lor", " Misc ",
        "Use doc&k icons", "Tray ", "Show tra&y on desktop",
        "Note : Windows Start Menu is still available by pressing CTRL-ESCAPE",
        // Info
        " Info : ", "Windows Version :", "Version 4.20"}) {
    EXPECT_TRUE(texts.contains(caption)) << caption;
  }
  EXPECT_EQ(texts.count("Add"), 4U);
  EXPECT_EQ(texts.count("Remove"), 4U);
  EXPECT_EQ(texts.count("..."), 6U);
}

TEST_F(ConfigurationTest, PageButtonsShowOnePageAtATime) {
  dialog.FormShow();
  EXPECT_TRUE(dialog.ConfigMain().Shown());
  EXPECT_FALSE(dialog.View().Shown());
  ::SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(TConfiguration::SpeedButton4, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.Control(TConfiguration::SpeedButton4)));
  EXPECT_TRUE(dialog.Shell().Shown());
  EXPECT_FALSE(dialog.ConfigMain().Shown());
  EXPECT_EQ(::SendMessageW(dialog.Control(TConfiguration::SpeedButton4), BM_GETCHECK, 0, 0), BST_CHECKED);
  dialog.ShowPage(TConfiguration::Page::Info);
  EXPECT_TRUE(dialog.Aide().Shown());
  EXPECT_NE(dialog.Aide().Text(ql::AidePage::Label6).find("Mémoire dispo : "), std::string::npos);
  EXPECT_EQ(
      dialog.Aide().Text(ql::AidePage::Label6).substr(dialog.Aide().Text(ql::AidePage::Label6).size() - 2),
      " %");
  dialog.FormShow();  // every opening starts on the Config page
  EXPECT_TRUE(dialog.ConfigMain().Shown());
  EXPECT_FALSE(dialog.Aide().Shown());
}

TEST_F(ConfigurationTest, InitLoadsEveryControlFromTheRecords) {
  ql::TConfig& c = dock.config;
  c.Poste = c.Impr = c.Format = true;
  c.KovaM = true;
  c.ItMenNorm = "c:\\m\\norm.bmp";
  c.Sens = "H";
  c.RedimDesk = true;
  c.OnTop = false;
  c.HideDesktop = true;
  c.Relief = false;
  c.ShowDots = true;
  c.Confirm = true;
  c.Fond = "";
  c.PlaySnd = false;
  c.OpenW = "c:\\sons\\open.wav";
  c.OpenWharf = "d:\\x\\wharf.wav";
  c.ModeClock = true;
  c.cfdel = false;
  c.Provider = true;
  c.HotKey = "Ctrl+K";
  c.TaskBar = true;
  c.Task.SmallStyle = false;
  c.Task.BigIcon = true;
  c.Task.TextureFile = "t.bmp";
  c.Task.ShowTray = false;
  dock.boutons.Append({"", std::string(ql::kModuleClock), "", "", 0});
  dialog.FormShow();

  const ConfigMainPage& m = dialog.ConfigMain();
  EXPECT_TRUE(m.Check(ConfigMainPage::RPoste).Checked());
  EXPECT_FALSE(m.Check(ConfigMainPage::RNet).Checked());
  EXPECT_TRUE(m.Check(ConfigMainPage::RImpr).Checked());
  EXPECT_TRUE(m.Check(ConfigMainPage::RFormat).Checked());
  EXPECT_TRUE(m.Check(ConfigMainPage::ChkMnuKova).Checked());
  EXPECT_EQ(m.Text(ConfigMainPage::MenNorm), "c:\\m\\norm.bmp");
  EXPECT_EQ(m.Combo(ConfigMainPage::PosDock).ItemSel(), 2);
  EXPECT_EQ(WindowText(m.Item(ConfigMainPage::PosDock)), "Dock to the Top");
  EXPECT_TRUE(m.Check(ConfigMainPage::RediDesk).Checked());
  EXPECT_FALSE(m.Check(ConfigMainPage::ChkOnTop).Checked());
  EXPECT_TRUE(m.Check(ConfigMainPage::RCacher).Checked());

  const ViewPage& v = dialog.View();
  EXPECT_FALSE(v.Check(ViewPage::BtnRelief).Checked());
  EXPECT_TRUE(v.Check(ViewPage::ChkDots).Checked());
  EXPECT_TRUE(v.Check(ViewPage::Confirmation).Checked());
  EXPECT_TRUE(v.Radio(ViewPage::BStandard).Checked());
  EXPECT_TRUE(v.Enabled(ViewPage::BtnCouleur));
  EXPECT_FALSE(v.Enabled(ViewPage::ChoixTexture));
  EXPECT_EQ(v.Text(ViewPage::OpenWav), "open.wav");  // the file name only
  EXPECT_EQ(v.Text(ViewPage::BWavOpen), "wharf.wav");
  EXPECT_FALSE(v.Enabled(ViewPage::OpenWav));
  EXPECT_FALSE(v.Enabled(ViewPage::BrClose));

  const ModulesPage& mo = dialog.Modules();
  EXPECT_FALSE(mo.Enabled(ModulesPage::MAddClock));
  EXPECT_TRUE(mo.Enabled(ModulesPage::MRemClock));
  EXPECT_TRUE(mo.Enabled(ModulesPage::MAddRecy));
  EXPECT_FALSE(mo.Enabled(ModulesPage::MRemRecy));
  EXPECT_TRUE(mo.Check(ModulesPage::ChkModeClk).Checked());
  EXPECT_FALSE(mo.Check(ModulesPage::ChkConfDel).Checked());
  EXPECT_TRUE(mo.Check(ModulesPage::Cle).Checked());
  EXPECT_EQ(mo.HotKeyText(), "Ctrl+K");
  // A key that is no letter or digit cannot be stored: OK keeps the setting.
  ::SendMessageW(mo.Item(ModulesPage::HotKey1), HKM_SETHOTKEY, MAKEWORD(VK_F5, HOTKEYF_CONTROL), 0);
  EXPECT_FALSE(mo.HotKeyText().has_value());
  dialog.OKClick();
  EXPECT_EQ(dock.config.HotKey, "Ctrl+K");
  EXPECT_TRUE(dock.config.Provider);

  const ShellPage& s = dialog.Shell();
  EXPECT_TRUE(s.Check(ShellPage::ActiveTask).Checked());
  EXPECT_EQ(s.Combo(ShellPage::TrackIconSize).ItemSel(), 2);
  EXPECT_EQ(s.Combo(ShellPage::KovaCombo).ItemSel(), 0);
  EXPECT_FALSE(s.Enabled(ShellPage::CoulText));
  EXPECT_TRUE(s.Enabled(ShellPage::ChkRect));
  EXPECT_TRUE(s.Radio(ShellPage::RBON1).Checked());
  EXPECT_TRUE(s.Enabled(ShellPage::PBON1));
  EXPECT_FALSE(s.Enabled(ShellPage::PBON2));
  EXPECT_FALSE(s.Check(ShellPage::ChkTray).Checked());

  EXPECT_EQ(::IsWindowEnabled(dialog.Control(IDOK)), TRUE);
  EXPECT_EQ(WindowText(dialog.Control(IDCANCEL)), "&Cancel");

  // An edge text of another kind leaves the list where it was.
  c.Sens = "Q";
  dialog.FormShow();
  EXPECT_EQ(dialog.ConfigMain().Combo(ConfigMainPage::PosDock).ItemSel(), 2);
}

TEST_F(ConfigurationTest, OkWritesTheControlsBackAndSetsTheFlags) {
  dock.config.HotKey = "Ctrl+L";
  dock.config.Provider = true;
  dock.config.CloseW = "c:\\close.wav";
  dialog.FormShow();
  ConfigMainPage& m = dialog.ConfigMain();
  m.Check(ConfigMainPage::RNet).Click();
  m.Check(ConfigMainPage::RCacher).Click();
  m.Combo(ConfigMainPage::PosDock).SetItemSel(0);
  m.Changed(ConfigMainPage::PosDock);
  m.SetText(ConfigMainPage::MenSel, "sel.bmp");
  dialog.View().SetText(ViewPage::CloseWav, "");
  dialog.Modules().SetHotKeyText("");
  dialog.Shell().Check(ShellPage::ChkTray).Click();

  dialog.OKClick();
  const ql::TConfig& c = dock.config;
  EXPECT_TRUE(c.Net);
  EXPECT_TRUE(c.HideDesktop);
  EXPECT_EQ(c.Sens, "G");
  EXPECT_EQ(c.ItMenSel, "sel.bmp");
  EXPECT_EQ(c.CloseW, "");
  EXPECT_EQ(c.HotKey, "");
  EXPECT_FALSE(c.Provider);  // no hot key: the lock goes off
  EXPECT_FALSE(c.Task.ShowTray);
  EXPECT_TRUE(dialog.BarChanged());
  EXPECT_FALSE(dialog.TaskBarChanged());  // ShowTray alone
  EXPECT_EQ(dock.desktopHidden, std::vector<bool>{true});
  EXPECT_EQ(dock.hotKeys, 1);

  // Opening again and OK without a change: both flags cleared, nothing re-registered.
  dialog.FormShow();
  dialog.OKClick();
  EXPECT_FALSE(dialog.BarChanged());
  EXPECT_FALSE(dialog.TaskBarChanged());
  EXPECT_EQ(dock.hotKeys, 1);
  EXPECT_EQ(dock.desktopHidden.size(), 1U);
}

// The dialog under the one modal run; its timers edit it, then press Escape (or give up).
TConfiguration* g_modal = nullptr;
constexpr UINT_PTR kWatchdogTimer = 0x77;
constexpr UINT_PTR kEditTimer = 0x78;

void CALLBACK GiveUp(HWND h, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(h, id);
  g_modal->EndModal(-100);  // Escape did not end it
}

void CALLBACK EditThenEscape(HWND h, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(h, id);
  g_modal->ConfigMain().Check(ConfigMainPage::RPoste).Click();
  g_modal->View().Check(ViewPage::BtnRelief).Click();
  HWND focus = ::GetFocus();
  HWND target = focus != nullptr ? focus : h;
  // Alt+N: the accelerator of a check box on the page, reached through the page panel.
  ::PostMessageW(target, WM_SYSCHAR, 'n', static_cast<LPARAM>(1U << 29U) | 1);
  ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST_F(ConfigurationTest, EscapeEndsWithCancelAndWritesNothing) {
  const ql::TConfig before = dock.config;
  g_modal = &dialog;
  ::SetTimer(dialog.hwnd(), kWatchdogTimer, 5000, GiveUp);
  ::SetTimer(dialog.hwnd(), kEditTimer, 10, EditThenEscape);
  EXPECT_EQ(dialog.ShowModal(OwnerWindow()), IDCANCEL);
  ::KillTimer(dialog.hwnd(), kWatchdogTimer);
  g_modal = nullptr;
  EXPECT_TRUE(dialog.Draft().cfg.Poste);  // it was edited...
  EXPECT_TRUE(dialog.ConfigMain().Check(ConfigMainPage::RNet).Checked());
  EXPECT_EQ(dock.config, before);  // ...and nothing reached the dock
  EXPECT_EQ(dock.ecritures, 0);
  EXPECT_EQ(dock.hotKeys, 0);
}

TEST_F(ConfigurationTest, ModulesAddAndRemoveActOnTheDockAtOnce) {
  dock.boutons.Append({"a", "a.exe", "", "", 0});
  dialog.FormShow();
  ModulesPage& mo = dialog.Modules();
  ASSERT_TRUE(mo.Enabled(ModulesPage::MAddClock));
  // The box toggled while no clock exists: the new clock and OK both take the box's mode.
  mo.Check(ModulesPage::ChkModeClk).Click();
  mo.Clicked(ModulesPage::MAddClock);
  EXPECT_EQ(dock.boutons.DernierBouton()->BtnApp, ql::kModuleClock);
  EXPECT_TRUE(dock.config.ModeClock);
  EXPECT_FALSE(mo.Enabled(ModulesPage::MAddClock));
  EXPECT_TRUE(mo.Enabled(ModulesPage::MRemClock));
  EXPECT_EQ(dock.ecritures, 1);  // stored at once
  EXPECT_EQ(dock.dessins, 1);
  mo.Clicked(ModulesPage::MAddRecy);
  EXPECT_EQ(dock.boutons.DernierBouton()->BtnApp, ql::kModuleRecycler);
  dialog.OKClick();
  EXPECT_TRUE(dock.config.ModeClock);

  mo.Clicked(ModulesPage::MRemClock);
  ql::TBouton* found = nullptr;
  EXPECT_FALSE(dock.boutons.FindPtrText(ql::kModuleClock, found));
  EXPECT_TRUE(mo.Enabled(ModulesPage::MAddClock));
  EXPECT_FALSE(mo.Enabled(ModulesPage::MRemClock));
  EXPECT_EQ(dock.ecritures, 3);
  EXPECT_EQ(dock.boutons.MainBar().size(), 2U);
}

TEST_F(ConfigurationTest, TaskbarIconSizeTableAndFontRefusal) {
  dialog.FormShow();
  ShellPage& s = dialog.Shell();
  const ql::TConfigTask& t = dialog.Draft().cfg.Task;
  struct Row {
    int item;
    bool smallStyle, bigIcon, coulText, rect;
  };
  for (const Row& r : {Row{0, true, false, true, false}, Row{1, false, false, false, true},
                       Row{2, false, true, false, true}}) {
    s.Combo(ShellPage::TrackIconSize).SetItemSel(r.item);
    s.Changed(ShellPage::TrackIconSize);
    EXPECT_EQ(t.SmallStyle, r.smallStyle) << r.item;
    EXPECT_EQ(t.BigIcon, r.bigIcon) << r.item;
    EXPECT_EQ(s.Enabled(ShellPage::CoulText), r.coulText) << r.item;
    EXPECT_EQ(s.Enabled(ShellPage::ChkRect), r.rect) << r.item;
    EXPECT_EQ(s.Enabled(ShellPage::BtnCol), r.rect) << r.item;
  }
  // The colour goes to the state the editor shows.
  colour = RGB(1, 2, 3);
  s.Combo(ShellPage::KovaCombo).SetItemSel(1);
  s.Clicked(ShellPage::PBON2);
  EXPECT_EQ(t.ColorOn, RGB(1, 2, 3));
  EXPECT_EQ(t.ColorOff, 0U);
  // A font over 255 points is refused whole.
  dialog.Choosers().Font = [](HWND, ql::FontChoice& f) {
    f = {"Arial", 300, true, true, RGB(9, 9, 9)};
    return true;
  };
  s.Clicked(ShellPage::CoulText);
  EXPECT_EQ(t.FontName, "");
  EXPECT_EQ(t.FontColor, 0U);
  ASSERT_EQ(messages.size(), 1U);
  dialog.Choosers().Font = [](HWND, ql::FontChoice& f) {
    f = {"Arial", 12, true, false, RGB(9, 9, 9)};
    return true;
  };
  s.Clicked(ShellPage::CoulText);
  EXPECT_EQ(t.FontName, "Arial");
  EXPECT_EQ(t.FontSize, 12);
  EXPECT_TRUE(t.FontBold);
  EXPECT_FALSE(t.FontItalic);
}

TEST_F(ConfigurationTest, ThePreviewFollowsItsControls) {
  dock.config.Couleur = RGB(10, 20, 30);
  dialog.FormShow();
  ViewPage& v = dialog.View();
  EXPECT_EQ(v.Apercu().Color(), RGB(10, 20, 30));
  v.Check(ViewPage::BtnRelief).Click();
  EXPECT_EQ(v.Apercu().Border(), v.Check(ViewPage::BtnRelief).Checked());
  v.Check(ViewPage::ChkDots).Click();
  EXPECT_EQ(v.Apercu().Groupe(), ql::TGroupeState::gLeft);
  colour = RGB(200, 100, 50);
  v.Clicked(ViewPage::BtnCouleur);
  EXPECT_EQ(v.Apercu().Color(), RGB(200, 100, 50));
  EXPECT_EQ(dialog.Draft().cfg.Couleur, RGB(200, 100, 50));
  // Texture, Standard, Texture again: the last texture file comes back.
  file = "c:\\tex\\wood.bmp";
  v.Clicked(ViewPage::BPerso);
  v.Clicked(ViewPage::ChoixTexture);
  EXPECT_EQ(dialog.Draft().cfg.Fond, "c:\\tex\\wood.bmp");
  v.Clicked(ViewPage::BStandard);
  EXPECT_EQ(dialog.Draft().cfg.Fond, "");
  EXPECT_FALSE(v.Apercu().HasTexture());
  v.Clicked(ViewPage::BPerso);
  EXPECT_EQ(dialog.Draft().cfg.Fond, "c:\\tex\\wood.bmp");
  // "Reset Textures", answered No, then Yes.
  dock.boutons.Append({"a", "a.exe", "", "own.bmp", 0});
  answer = IDNO;
  v.Clicked(ViewPage::ResetText);
  EXPECT_EQ(dock.boutons.First()->Texture, "own.bmp");
  answer = IDYES;
  v.Clicked(ViewPage::ResetText);
  EXPECT_EQ(dock.boutons.First()->Texture, "");
  ASSERT_EQ(messages.size(), 2U);
  EXPECT_EQ(messages[0].text, "Delete all textures ?");
}

TEST_F(ConfigurationTest, TheTaskButtonPreviewFollowsTheTaskbarPage) {
  ql::TConfigTask& live = dock.config.Task;
  live.SmallStyle = false;
  live.BigIcon = true;
  live.ColorOff = RGB(10, 200, 10);
  live.ColorOn = RGB(200, 10, 10);
  dialog.FormShow();
  ShellPage& s = dialog.Shell();
  ql::TKovaTask& p = s.Preview();
  EXPECT_EQ(::IsWindowEnabled(p.hwnd()), FALSE);
  EXPECT_EQ(WindowText(p.hwnd()), "Quaylite");
  EXPECT_EQ(p.Caption(), "Quaylite");
  EXPECT_EQ(p.Style(), ql::TaskStyle::sNS);
  EXPECT_EQ(p.Width(), 64);  // 48x48 icons on a 64 x 64 tile
  EXPECT_EQ(ql::test::ReadPixels(p.Compose().get()).At(60, 60), RGB(10, 200, 10));

  // "16x16": the label style, 130 x 20, inside its group.
  s.Combo(ShellPage::TrackIconSize).SetItemSel(0);
  s.Changed(ShellPage::TrackIconSize);
  EXPECT_EQ(p.Style(), ql::TaskStyle::sQL);
  RECT r{};
  ::GetWindowRect(p.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 130);
  EXPECT_EQ(r.bottom - r.top, 20);

  // The editor shows the selected state in the preview's normal colours...
  s.Combo(ShellPage::KovaCombo).SetItemSel(1);
  s.Changed(ShellPage::KovaCombo);
  EXPECT_EQ(ql::test::ReadPixels(p.Compose().get()).At(125, 10), RGB(200, 10, 10));
  colour = RGB(1, 2, 250);
  s.Clicked(ShellPage::PBON2);
  EXPECT_EQ(ql::test::ReadPixels(p.Compose().get()).At(125, 10), RGB(1, 2, 250));
  // ...and the normal one again, untouched.
  s.Combo(ShellPage::KovaCombo).SetItemSel(0);
  s.Changed(ShellPage::KovaCombo);
  EXPECT_EQ(ql::test::ReadPixels(p.Compose().get()).At(125, 10), RGB(10, 200, 10));

  s.Check(ShellPage::ChkBorder).Click();
  const ql::test::Pixels framed = ql::test::ReadPixels(p.Compose().get());
  EXPECT_EQ(framed.At(0, 10), ql::test::palette::kWhite);
  EXPECT_EQ(framed.At(129, 10), ql::test::palette::kBlack);
}

TEST_F(ConfigurationTest, ImportOfABadFileChangesNothingAndSaysSo) {
  dock.boutons.Append({"a", "a.exe", "", "", 0});
  dock.config.KovaM = true;
  const ql::TConfig before = dock.config;
  dialog.FormShow();
  for (const std::string& bad : {Scratch("ql_bad1.qlx", "[Quaylite]\r\n1\r\n[KovaM]\r\n0\r\n"),
                                 Scratch("ql_bad2.qlx", std::string("\0\1\2\3", 4)),
                                 (std::filesystem::temp_directory_path() / "ql_missing.qlx").string()}) {
    file = bad;
    dialog.ImporterClick();
    EXPECT_EQ(dock.config, before) << bad;
    EXPECT_EQ(dock.boutons.MainBar().size(), 1U) << bad;
    ASSERT_FALSE(messages.empty()) << bad;
    EXPECT_NE(messages.back().text.find("Nothing was changed"), std::string::npos) << bad;
    EXPECT_EQ(::IsWindowEnabled(dialog.Control(IDOK)), TRUE) << bad;
  }
  EXPECT_EQ(messages.size(), 3U);
  EXPECT_EQ(dock.ecritures, 0);
  EXPECT_EQ(dock.dessins, 0);
}

TEST_F(ConfigurationTest, ExportThenImportRestoresTheDockAndLeavesOnlyClose) {
  dock.boutons.Append({"a", "a.exe", "a.ico", "", 2});
  dock.config.Sens = "G";
  dock.config.Task.FontName = "Tahoma";
  dock.config.TaskBar = true;
  dialog.FormShow();
  const auto target = std::filesystem::temp_directory_path() / "ql_export";
  scratch.push_back(target.string() + ".qlx");
  file = target.string();
  dialog.ExporterClick();
  ASSERT_EQ(messages.size(), 1U);
  EXPECT_EQ(messages[0].text, "Configuration saved !");
  EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
  ASSERT_TRUE(std::filesystem::exists(target.string() + ".qlx"));
  EXPECT_EQ(chosen.back().filter, "Quaylite conf ( *.qlx )|*.qlx");

  const ql::TConfig exported = dock.config;
  dock.config.Sens = "H";
  dock.config.Task.FontName = "Arial";
  dock.boutons.Append({"b", "b.exe", "", "", 0});
  file = target.string() + ".qlx";
  dialog.ImporterClick();
  EXPECT_EQ(dock.config, exported);
  EXPECT_EQ(dock.boutons.MainBar().size(), 1U);
  EXPECT_EQ(dock.boutons.First()->IconIndex, 2);
  EXPECT_EQ(dock.ecritures, 1);
  EXPECT_EQ(dock.dessins, 1);
  EXPECT_EQ(dock.menus, 1);
  ASSERT_EQ(dock.taskBarUpdates.size(), 1U);
  EXPECT_TRUE(dock.taskBarUpdates[0].changed);
  EXPECT_EQ(::IsWindowEnabled(dialog.Control(IDOK)), FALSE);
  EXPECT_EQ(WindowText(dialog.Control(IDCANCEL)), "&Close");
  // An export that cannot be written says so and leaves the earlier file whole.
  const std::string earlier = ReadFileBytes(target.string() + ".qlx");
  file = (std::filesystem::temp_directory_path() / "ql_no_such_dir" / "x.qlx").string();
  dialog.ExporterClick();
  EXPECT_EQ(messages.back().text, "The configuration could not be saved.");
  EXPECT_EQ(ReadFileBytes(target.string() + ".qlx"), earlier);
  EXPECT_FALSE(earlier.empty());

  dialog.FormShow();  // the next opening gives OK back
  EXPECT_EQ(::IsWindowEnabled(dialog.Control(IDOK)), TRUE);
  EXPECT_EQ(WindowText(dialog.Control(IDCANCEL)), "&Cancel");
}

TEST_F(ConfigurationTest, OpeningsAndPagesLeaveNoGdiObjects) {
  dialog.FormShow();
  for (int p = 0; p < 5; ++p) dialog.ShowPage(static_cast<TConfiguration::Page>(p));
  const std::uint32_t before = ql::test::GdiObjects();
  for (int i = 0; i < 5; ++i) {
    dialog.FormShow();
    for (int p = 0; p < 5; ++p) dialog.ShowPage(static_cast<TConfiguration::Page>(p));
    ::UpdateWindow(dialog.hwnd());
  }
  EXPECT_LE(ql::test::GdiObjects(), before + 2);
}

}  // namespace
