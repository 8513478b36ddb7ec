// The .qlx configuration file: a round trip restores every setting and every button, booleans
// keep their two-line form, the password never travels, and a damaged file changes nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ButtonListChecks.h"
#include "core/Bouton.h"
#include "core/Config.h"
#include "core/Qlx.h"

namespace {

using ql::ButtonData;
using ql::ButtonList;
using ql::QlxError;
using ql::TConfig;

// Every option away from its default, so that a field the file forgets shows in the round trip.
TConfig EveryOptionSet() {
  TConfig c;
  c.Taille = 48;
  c.PosTop = -17;
  c.Couleur = 0x123456;
  c.TaskBar = true;
  c.ShowDots = true;
  c.Fond = "C:\\Images\\bois clair.bmp";
  c.ModeClock = true;
  c.KovaM = true;
  c.cfdel = false;
  c.HotKey = "Ctrl+Q";
  c.ItMenSel = "sel.bmp";
  c.ItMenNorm = "norm.bmp";
  c.OnTop = false;
  c.Confirm = true;
  c.ShowName = true;
  c.HideDesktop = true;
  c.Relief = false;
  c.RedimDesk = true;
  c.Provider = true;
  c.StartLock = true;
  c.SingleClick = true;
  c.Sens = "H";
  c.MotDePasse = "s3cret-word";
  c.OpenW = "o.wav";
  c.CloseW = "c.wav";
  c.OpenWharf = "[ow].wav";
  c.CloseWharf = "cw.wav";
  c.PlaySnd = true;
  c.Poste = c.Net = c.Conf = c.Desk = c.Perso = c.Impr = c.Start = c.Format = true;
  c.Task.TextSelecFile = "ts.bmp";
  c.Task.TextureFile = "t.bmp";
  c.Task.ColorOn = 0x010203;
  c.Task.ColorOff = 0x0000FF;
  c.Task.TColorOn = 0xFFFFFF;
  c.Task.TColorOff = 0x00FF00;
  c.Task.RColor = 0x808080;
  c.Task.RectLbl = c.Task.Border = c.Task.Shadow = c.Task.IconDock = c.Task.BigIcon = true;
  c.Task.ShowTray = false;
  c.Task.FontName = "Times New Roman";
  c.Task.FontSize = 255;
  c.Task.FontColor = 0xABCDEF;
  c.Task.FontBold = c.Task.FontItalic = c.Task.SmallStyle = true;
  return c;
}

void FillButtons(ButtonList& list) {
  list.Append(ButtonData{"Notepad", "notepad.exe|a b.txt", "C:\\Windows\\notepad.exe", "", 0});
  ql::TBouton& group = list.Append(ButtonData{"Tools", "tools", "shell32.dll,x", "grp.bmp", 21});
  list.AppendMember(group, ButtonData{"Calc", "calc.exe", "calc.exe", "m.bmp", 3});
  list.AppendMember(group, ButtonData{"Été", "c:\\été\\x.exe", "", "", 999});
  list.Append(ButtonData{"", std::string(ql::kModuleClock), "", "", 0});
  list.RenumBtn(nullptr);
}

// Every field of every record, links in order.
std::string Full(const ButtonList& list) {
  std::string out;
  auto one = [&out](const ql::TBouton& r) {
    out += r.NomApp + "|" + r.BtnApp + "|" + r.IconPath + "|" + std::to_string(r.IconIndex) + "|" +
           r.Texture + "|" + std::to_string(r.Numero) + "|" + std::to_string(r.NumBranche) + "\n";
  };
  for (const ql::TBouton* r : list.MainBar()) {
    one(*r);
    for (const ql::TBouton* m : ButtonList::Members(*r)) one(*m);
  }
  return out;
}

std::string ValidFile() {
  ButtonList list;
  FillButtons(list);
  return ql::WriteQlx(EveryOptionSet(), list);
}

// A live state to import into, and the means to see whether it moved.
struct Live {
  TConfig cfg;
  ButtonList list;
  Live() {
    cfg.MotDePasse = "mine";
    list.Append(ButtonData{"old", "old.exe", "old.exe", "", 1});
    list.RenumBtn(nullptr);
  }
  std::string Snapshot() const { return ql::WriteQlx(cfg, list) + cfg.MotDePasse; }
};

TEST(Qlx, RoundTripRestoresEverySettingAndEveryButton) {
  ButtonList source;
  FillButtons(source);
  const TConfig exported = EveryOptionSet();
  const std::string file = ql::WriteQlx(exported, source);

  Live live;
  ASSERT_EQ(ql::ImportQlx(file, live.cfg, live.list), QlxError::None);
  TConfig expected = exported;
  expected.MotDePasse = "mine";  // the password stays the machine's own
  EXPECT_EQ(live.cfg, expected);
  EXPECT_EQ(Full(live.list), Full(source));
  ql::test::ExpectLinksConsistent(live.list);
}

TEST(Qlx, ThePasswordNeverTravels) {
  const std::string file = ValidFile();
  EXPECT_EQ(file.find("s3cret"), std::string::npos);
  EXPECT_EQ(file.find("MotDePasse"), std::string::npos);
  // A file that carries one is not believed either.
  Live live;
  ASSERT_EQ(ql::ImportQlx("[Quaylite]\r\n1\r\n[MotDePasse]\r\nstolen\r\n[End]\r\n2\r\n", live.cfg, live.list),
            QlxError::None);
  EXPECT_EQ(live.cfg.MotDePasse, "mine");
}

TEST(Qlx, BooleansAreTwoLinesOfOneOrZero) {
  EXPECT_EQ(ql::WriteBoolIni("OnTop", true), "[OnTop]\r\n1\r\n");
  EXPECT_EQ(ql::WriteBoolIni("cfdel", false), "[cfdel]\r\n0\r\n");
  const std::string file = ValidFile();
  EXPECT_NE(file.find(ql::WriteBoolIni("KovaM", true)), std::string::npos);
  EXPECT_NE(file.find(ql::WriteBoolIni("OnTop", false)), std::string::npos);
  EXPECT_NE(file.find(ql::WriteBoolIni("TaskShowTray", false)), std::string::npos);
  // Every line is ended by CR LF, and the file is pairs of lines.
  std::size_t lines = 0;
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '\n') {
      ++lines;
      EXPECT_EQ(file[i - 1], '\r');
    }
  }
  EXPECT_EQ(file.back(), '\n');
  EXPECT_EQ(lines % 2, 0U);
}

TEST(Qlx, UnknownKeysAreSkippedAndUnreadableValuesKeepTheCurrentSetting) {
  const std::string file =
      "[Quaylite]\r\n1\r\n[Future]\r\nwhatever\r\n[OnTop]\r\nyes\r\n[Taille]\r\nbig\r\n[Sens]\r\nX\r\n"
      "[Couleur]\r\n0,0,0\r\n[TaskFontSize]\r\n300\r\n[HotKey]\r\nAlt+Q\r\n[KovaM]\r\n1\r\n"
      "[TaskColorOn]\r\n255,0,0\r\n[End]\r\n10\r\n";
  Live live;
  live.cfg.OnTop = true;
  live.cfg.Taille = 64;
  live.cfg.Sens = "G";
  live.cfg.Couleur = 0x0000FF;
  live.cfg.Task.FontSize = 9;
  live.cfg.HotKey = "Ctrl+Z";
  const std::string buttons = Full(live.list);
  ASSERT_EQ(ql::ImportQlx(file, live.cfg, live.list), QlxError::None);
  EXPECT_TRUE(live.cfg.OnTop);
  EXPECT_EQ(live.cfg.Taille, 64);
  EXPECT_EQ(live.cfg.Sens, "G");
  EXPECT_EQ(live.cfg.Couleur, 0x0000FFU);
  EXPECT_EQ(live.cfg.Task.FontSize, 9);
  EXPECT_EQ(live.cfg.HotKey, "Ctrl+Z");
  EXPECT_TRUE(live.cfg.KovaM);
  EXPECT_EQ(live.cfg.Task.ColorOn, 0x0000FFU);  // red in the low byte
  EXPECT_EQ(Full(live.list), buttons);          // no "[Buttons]": the buttons stay
}

struct Damage {
  const char* what;
  std::string file;
  QlxError error;
};

TEST(Qlx, DamagedFilesChangeNothing) {
  const std::string good = ValidFile();
  const std::string head = "[Quaylite]\r\n1\r\n";
  const std::vector<Damage> damages = {
      {"empty", "", QlxError::Empty},
      {"binary", std::string("[Quaylite]\r\n1\r\n\0\x01\x02", 17), QlxError::Binary},
      {"not UTF-8", head + "[Fond]\r\n\xff\xfe\r\n[End]\r\n1\r\n", QlxError::Binary},
      {"too large", std::string(ql::kQlxMaxBytes + 1, 'a'), QlxError::TooLarge},
      {"long line", head + "[Fond]\r\n" + std::string(100000, 'x') + "\r\n[End]\r\n1\r\n",
       QlxError::Malformed},
      {"no value line", head + "[OnTop]\r\n", QlxError::Truncated},
      {"value line missing mid-file", head + "[OnTop]\r\n[KovaM]\r\n1\r\n[End]\r\n2\r\n",
       QlxError::Truncated},
      {"no end", head + "[OnTop]\r\n0\r\n", QlxError::Truncated},
      {"end miscounted", head + "[OnTop]\r\n0\r\n[End]\r\n7\r\n", QlxError::Malformed},
      {"duplicate key", head + "[OnTop]\r\n0\r\n[OnTop]\r\n1\r\n[End]\r\n3\r\n", QlxError::Duplicate},
      {"not bracketed", head + "OnTop\r\n0\r\n[End]\r\n2\r\n", QlxError::Malformed},
      {"other text", "hello\r\nworld\r\n", QlxError::NotQlx},
      {"other version", "[Quaylite]\r\n2\r\n[End]\r\n1\r\n", QlxError::NotQlx},
      {"member of a member",
       head + "[Buttons]\r\n3\r\n[Button1.Command]\r\na\r\n[Button2.Command]\r\nb\r\n[Button2.Group]\r\n1\r\n"
              "[Button3.Command]\r\nc\r\n[Button3.Group]\r\n2\r\n[End]\r\n7\r\n",
       QlxError::BadButtons},
      {"group ahead",
       head + "[Buttons]\r\n2\r\n[Button1.Command]\r\na\r\n[Button1.Group]\r\n2\r\n[Button2.Command]\r\nb\r\n"
              "[End]\r\n5\r\n",
       QlxError::BadButtons},
      {"button without command", head + "[Buttons]\r\n1\r\n[Button1.Name]\r\nx\r\n[End]\r\n3\r\n",
       QlxError::BadButtons},
  };
  for (const Damage& d : damages) {
    Live live;
    const std::string before = live.Snapshot();
    EXPECT_EQ(ql::ImportQlx(d.file, live.cfg, live.list), d.error) << d.what;
    EXPECT_EQ(live.Snapshot(), before) << d.what;
    EXPECT_FALSE(ql::QlxErrorText(d.error).empty()) << d.what;
  }
}

TEST(Qlx, EveryCutOfAGoodFileIsRefused) {
  const std::string good = ValidFile();
  Live live;
  const std::string before = live.Snapshot();
  for (std::size_t n = 0; n < good.size(); ++n) {
    ASSERT_NE(ql::ImportQlx(std::string_view(good).substr(0, n), live.cfg, live.list), QlxError::None) << n;
  }
  EXPECT_EQ(live.Snapshot(), before);
}

// Seeded mutations of a good file: whatever the damage, the import never crashes and either
// refuses the file with nothing changed or applies a state that exports and imports again as
// itself.
TEST(Qlx, MutatedFilesNeverCrashOrApplyHalfway) {
  const std::string good = ValidFile();
  std::mt19937 rng(20261209);
  auto pick = [&rng](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string f = good;
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits && !f.empty(); ++e) {
      switch (pick(6)) {
        case 0:
          f[pick(f.size())] = static_cast<char>(pick(256));
          break;
        case 1:
          f.erase(pick(f.size()), 1 + pick(40));
          break;
        case 2:
          f.insert(pick(f.size()), 1, "[]\r\n01,Z\0"[pick(9)]);
          break;
        case 3: {  // a line copied elsewhere
          const std::size_t at = f.find('\n', pick(f.size()));
          if (at == std::string::npos) break;
          const std::size_t end = f.find('\n', at + 1);
          if (end == std::string::npos) break;
          f.insert(pick(f.size()), f.substr(at + 1, end - at));
          break;
        }
        case 4:
          f.resize(pick(f.size()));
          break;
        default:
          f.replace(pick(f.size()), 1, "\r\n");
          break;
      }
    }
    Live live;
    const std::string before = live.Snapshot();
    const QlxError error = ql::ImportQlx(f, live.cfg, live.list);
    if (error != QlxError::None) {
      ++refused;
      ASSERT_EQ(live.Snapshot(), before) << "round " << round;
      continue;
    }
    ql::test::ExpectLinksConsistent(live.list);
    const std::string again = ql::WriteQlx(live.cfg, live.list);
    Live copy;
    ASSERT_EQ(ql::ImportQlx(again, copy.cfg, copy.list), QlxError::None) << "round " << round;
    EXPECT_EQ(ql::WriteQlx(copy.cfg, copy.list), again) << "round " << round;
  }
  EXPECT_GT(refused, 0);
}

TEST(Qlx, ExportNameGetsTheExtensionOnlyWithoutOne) {
  EXPECT_EQ(ql::WithQlxExtension("C:\\conf\\dock"), "C:\\conf\\dock.qlx");
  EXPECT_EQ(ql::WithQlxExtension("C:\\conf\\dock.qlx"), "C:\\conf\\dock.qlx");
  EXPECT_EQ(ql::WithQlxExtension("C:\\conf\\dock.txt"), "C:\\conf\\dock.txt");
  EXPECT_EQ(ql::WithQlxExtension("C:\\my.conf\\dock"), "C:\\my.conf\\dock.qlx");
}

}  // namespace
