// The dock's store format: options, button entries and lock values, read and written through the
// in-memory store; and the promise of the rewrite that a crash at any point loses nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/ButtonStore.h"
#include "core/CodePage.h"
#include "core/Config.h"
#include "core/ConfigStore.h"
#include "core/MemoryStore.h"
#include "core/Scramble.h"
#include "core/SealableStore.h"
#include "core/StartGuard.h"
#include "core/StoreJournal.h"
#include "core/Text.h"

namespace {

using ql::ButtonData;
using ql::ButtonList;
using ql::kDockKey;
using ql::kLockKey;
using ql::MemoryStore;
using ql::StoreValue;
using ql::TBouton;
using ql::TConfig;
using ql::ValueType;

// The options in the order EcritBaseRegistre writes them.
const std::vector<std::string> kOptionNames = {
    "HideDesktop", "Relief", "Confirm", "ShowName", "RedimDesk", "OnTop", "Taille", "PosTop", "Sens", "Fond",
    "ItMenNorm", "ItMenSel", "Couleur", "Poste", "Net", "Conf", "Desk", "Perso", "Impr", "Start", "Format",
    "PlaySnd", "StartLock", "OpenW", "CloseW", "OpenWharf", "CloseWharf", "ModeClock", "ShowDots",
    "SingleClick", "KovaM", "cfdel", "TaskBar", "HotKey",
    // the task bar's settings
    "TaskTextSelecFile", "TaskTextureFile", "TaskFontName", "TaskColorOn", "TaskColorOff", "TaskTColorOn",
    "TaskTColorOff", "TaskRColor", "TaskFontColor", "TaskRectLbl", "TaskBorder", "TaskShadow", "TaskIconDock",
    "TaskBigIcon", "TaskShowTray", "TaskFontBold", "TaskFontItalic", "TaskSmallStyle", "TaskFontSize"};

StoreValue Text(std::string text) { return StoreValue{ValueType::String, std::move(text)}; }
StoreValue Bytes(std::initializer_list<unsigned char> bytes) {
  return StoreValue{ValueType::Binary, std::string(bytes.begin(), bytes.end())};
}

void Put(MemoryStore& store, std::string_view name, const StoreValue& value) {
  store.Open(kDockKey, true)->Write(name, value);
}
void Put(MemoryStore& store, std::string_view name, std::string text) {
  Put(store, name, Text(std::move(text)));
}
std::optional<StoreValue> Get(MemoryStore& store, std::string_view name, std::string_view path = kDockKey) {
  auto key = store.Open(path, false);
  return key ? key->Read(name) : std::nullopt;
}

TConfig ReadConfig(MemoryStore& store, bool* sortieNormale = nullptr) {
  TConfig cfg;
  const bool sortie = ql::LitConfig(store, cfg);
  if (sortieNormale != nullptr) *sortieNormale = sortie;
  return cfg;
}

std::set<std::string> LowerNames(MemoryStore& store) {
  std::set<std::string> names;
  for (const auto& e : store.ValuesOf(kDockKey)) names.insert(ql::ToLowerAscii(e.name));
  return names;
}

std::set<std::string> ExpectedNames(int entries, std::initializer_list<int> withTexture = {}) {
  std::set<std::string> names;
  for (const auto& o : kOptionNames) names.insert(ql::ToLowerAscii(o));
  for (int n = 1; n <= entries; ++n) {
    for (const char* p : {"btnapp", "nomapp", "icone"}) names.insert(p + std::to_string(n));
  }
  for (int n : withTexture) names.insert("texture" + std::to_string(n));
  return names;
}

// A bar as data: each main-bar button with its members.
struct Button {
  ButtonData data;
  std::vector<ButtonData> members;
};
using Layout = std::vector<Button>;

ButtonData B(std::string cmd, std::string texture = "") {
  return ButtonData{"Name of " + cmd, cmd, "C:\\icons\\" + cmd + ".ico", std::move(texture), 3};
}

void Build(const Layout& layout, ButtonList& list) {
  for (const auto& b : layout) {
    TBouton& r = list.Append(b.data);
    for (const auto& m : b.members) list.AppendMember(r, m);
  }
}

void WriteLayout(ql::KeyValueStore& store, const Layout& layout, const TConfig& cfg = TConfig{},
                 std::int32_t posTop = 0) {
  ButtonList list;
  Build(layout, list);
  ql::EcritBaseRegistre(store, cfg, posTop, list);
}

std::string RecordText(const ButtonData& d) {
  return d.BtnApp + "|" + d.NomApp + "|" + d.IconPath + "|" + std::to_string(d.IconIndex) + "|" + d.Texture;
}
std::string RecordText(const TBouton& r) {
  return RecordText(ButtonData{r.NomApp, r.BtnApp, r.IconPath, r.Texture, r.IconIndex});
}

// Every button that reads back, members named with their group, sorted (a multiset).
std::vector<std::string> Readable(ql::KeyValueStore& store) {
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  std::vector<std::string> out;
  for (const TBouton* r : list.MainBar()) {
    out.push_back(RecordText(*r));
    for (const TBouton* m : ButtonList::Members(*r)) out.push_back(RecordText(*m) + " in " + RecordText(*r));
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> Expected(const Layout& layout) {
  std::vector<std::string> out;
  for (const auto& b : layout) {
    out.push_back(RecordText(b.data));
    for (const auto& m : b.members) out.push_back(RecordText(m) + " in " + RecordText(b.data));
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The bar as read back, in order: "A G[x y] B".
std::string Shape(ql::KeyValueStore& store) {
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  std::string out;
  for (const TBouton* r : list.MainBar()) {
    if (!out.empty()) out += ' ';
    out += r->BtnApp;
    if (r->HasMembers()) {
      out += '[';
      for (const TBouton* m : ButtonList::Members(*r)) out += (out.back() == '[' ? "" : " ") + m->BtnApp;
      out += ']';
    }
  }
  return out;
}

// --- Options ---------------------------------------------------------------------------------

TEST(LitConfig, FirstStartGivesEveryDefault) {
  MemoryStore store;
  bool sortie = false;
  TConfig cfg;
  cfg.Taille = 64;  // whatever was there before is replaced
  cfg.Sens = "G";
  sortie = ql::LitConfig(store, cfg);
  EXPECT_TRUE(sortie);
  EXPECT_EQ(cfg.Sens, "D");
  EXPECT_EQ(cfg.Taille, 32);
  EXPECT_EQ(cfg.PosTop, 0);
  EXPECT_EQ(cfg.Couleur, 0xC0C0C0U);
  EXPECT_TRUE(cfg.Relief);
  EXPECT_TRUE(cfg.cfdel);
  EXPECT_TRUE(cfg.OnTop);
  for (bool b : {cfg.TaskBar,     cfg.ShowDots,    cfg.ModeClock, cfg.KovaM,    cfg.Confirm,
                 cfg.ShowName,    cfg.HideDesktop, cfg.RedimDesk, cfg.Provider, cfg.StartLock,
                 cfg.SingleClick, cfg.PlaySnd,     cfg.Poste,     cfg.Net,      cfg.Conf,
                 cfg.Desk,        cfg.Perso,       cfg.Impr,      cfg.Start,    cfg.Format}) {
    EXPECT_FALSE(b);
  }
  for (const std::string* s : {&cfg.Fond, &cfg.HotKey, &cfg.ItMenSel, &cfg.ItMenNorm, &cfg.MotDePasse,
                               &cfg.OpenW, &cfg.CloseW, &cfg.OpenWharf, &cfg.CloseWharf}) {
    EXPECT_TRUE(s->empty()) << *s;
  }
  EXPECT_EQ(cfg, TConfig{});
  EXPECT_EQ(ql::EdgeOf(cfg.Sens), ql::Edge::Right);

  ButtonList list;
  ql::LitBaseRegistre(store, list);
  EXPECT_TRUE(list.Empty());
  EXPECT_FALSE(store.HasKey(kDockKey));  // reading makes no key
}

TEST(LitConfig, EveryFieldSurvivesARoundTrip) {
  const std::vector<std::pair<const char*, std::function<void(TConfig&)>>> changes = {
      {"Taille", [](TConfig& c) { c.Taille = 48; }},
      {"PosTop", [](TConfig& c) { c.PosTop = -17; }},
      {"Couleur", [](TConfig& c) { c.Couleur = 0x00123456; }},
      {"TaskBar", [](TConfig& c) { c.TaskBar = true; }},
      {"ShowDots", [](TConfig& c) { c.ShowDots = true; }},
      {"Fond", [](TConfig& c) { c.Fond = "C:\\Pictures\\fond \xC3\xA9t\xC3\xA9.bmp"; }},
      {"ModeClock", [](TConfig& c) { c.ModeClock = true; }},
      {"KovaM", [](TConfig& c) { c.KovaM = true; }},
      {"cfdel", [](TConfig& c) { c.cfdel = false; }},
      {"HotKey", [](TConfig& c) { c.HotKey = "Ctrl+Q"; }},
      {"ItMenSel", [](TConfig& c) { c.ItMenSel = "sel.bmp"; }},
      {"ItMenNorm", [](TConfig& c) { c.ItMenNorm = "norm.bmp"; }},
      {"OnTop", [](TConfig& c) { c.OnTop = false; }},
      {"Confirm", [](TConfig& c) { c.Confirm = true; }},
      {"ShowName", [](TConfig& c) { c.ShowName = true; }},
      {"HideDesktop", [](TConfig& c) { c.HideDesktop = true; }},
      {"Relief", [](TConfig& c) { c.Relief = false; }},
      {"RedimDesk", [](TConfig& c) { c.RedimDesk = true; }},
      {"Provider", [](TConfig& c) { c.Provider = true; }},
      {"StartLock", [](TConfig& c) { c.StartLock = true; }},
      {"SingleClick", [](TConfig& c) { c.SingleClick = true; }},
      {"Sens", [](TConfig& c) { c.Sens.assign(1, 'H'); }},  // (GCC 12 warns wrongly on = "H")
      {"MotDePasse", [](TConfig& c) { c.MotDePasse = "Top Secret"; }},
      {"OpenW", [](TConfig& c) { c.OpenW = "open.wav"; }},
      {"CloseW", [](TConfig& c) { c.CloseW = "close.wav"; }},
      {"OpenWharf", [](TConfig& c) { c.OpenWharf = "unfold.wav"; }},
      {"CloseWharf", [](TConfig& c) { c.CloseWharf = "fold.wav"; }},
      {"PlaySnd", [](TConfig& c) { c.PlaySnd = true; }},
      {"Poste", [](TConfig& c) { c.Poste = true; }},
      {"Net", [](TConfig& c) { c.Net = true; }},
      {"Conf", [](TConfig& c) { c.Conf = true; }},
      {"Desk", [](TConfig& c) { c.Desk = true; }},
      {"Perso", [](TConfig& c) { c.Perso = true; }},
      {"Impr", [](TConfig& c) { c.Impr = true; }},
      {"Start", [](TConfig& c) { c.Start = true; }},
      {"Format", [](TConfig& c) { c.Format = true; }},
      {"TaskTextSelecFile", [](TConfig& c) { c.Task.TextSelecFile = "sel \xC3\xA9.bmp"; }},
      {"TaskTextureFile", [](TConfig& c) { c.Task.TextureFile = "up.bmp"; }},
      {"TaskColorOn", [](TConfig& c) { c.Task.ColorOn = 0x00FF0000; }},
      {"TaskColorOff", [](TConfig& c) { c.Task.ColorOff = 0x00000001; }},
      {"TaskTColorOn", [](TConfig& c) { c.Task.TColorOn = 0x00FFFFFF; }},
      {"TaskTColorOff", [](TConfig& c) { c.Task.TColorOff = 0x00102030; }},
      {"TaskRColor", [](TConfig& c) { c.Task.RColor = 0x00C0C0C0; }},
      {"TaskRectLbl", [](TConfig& c) { c.Task.RectLbl = true; }},
      {"TaskBorder", [](TConfig& c) { c.Task.Border = true; }},
      {"TaskShadow", [](TConfig& c) { c.Task.Shadow = true; }},
      {"TaskIconDock", [](TConfig& c) { c.Task.IconDock = true; }},
      {"TaskBigIcon", [](TConfig& c) { c.Task.BigIcon = true; }},
      {"TaskShowTray", [](TConfig& c) { c.Task.ShowTray = false; }},
      {"TaskFontName", [](TConfig& c) { c.Task.FontName = "Tahoma"; }},
      {"TaskFontSize", [](TConfig& c) { c.Task.FontSize = 255; }},
      {"TaskFontColor", [](TConfig& c) { c.Task.FontColor = 0x00ABCDEF; }},
      {"TaskFontBold", [](TConfig& c) { c.Task.FontBold = true; }},
      {"TaskFontItalic", [](TConfig& c) { c.Task.FontItalic = true; }},
      {"TaskSmallStyle", [](TConfig& c) { c.Task.SmallStyle = true; }},
  };
  auto roundTrip = [](const TConfig& cfg) {
    MemoryStore store;
    WriteLayout(store, {}, cfg, cfg.PosTop);
    ql::EcritVerrou(store, cfg);
    return ReadConfig(store);
  };
  // One field at a time, so a field that is not stored or not read shows by its name.
  TConfig all;
  for (const auto& [name, change] : changes) {
    TConfig cfg;
    change(cfg);
    ASSERT_NE(cfg, TConfig{}) << name;
    EXPECT_EQ(roundTrip(cfg), cfg) << name;
    change(all);
  }
  EXPECT_EQ(roundTrip(all), all);
}

TEST(LitConfig, BooleansAreTrueOnlyForExactlyOne) {
  MemoryStore store;
  TConfig cfg;
  cfg.ShowName = true;
  WriteLayout(store, {}, cfg);
  EXPECT_EQ(Get(store, "ShowName"), Text("1"));
  EXPECT_EQ(Get(store, "Confirm"), Text("0"));
  EXPECT_EQ(Get(store, "OnTop"), Text("1"));

  for (const char* notOne : {"0", "true", "yes", "01", " 1", "1 ", "2"}) {
    Put(store, "ShowName", notOne);
    Put(store, "OnTop", notOne);  // default true, but only a missing or empty value gives it
    const TConfig read = ReadConfig(store);
    EXPECT_FALSE(read.ShowName) << notOne;
    EXPECT_FALSE(read.OnTop) << notOne;
  }
  Put(store, "ShowName", "1");
  Put(store, "Relief", Bytes({'1'}));  // not a string: missing, so its default
  Put(store, "Confirm", Bytes({'1'}));
  const TConfig read = ReadConfig(store);
  EXPECT_TRUE(read.ShowName);
  EXPECT_TRUE(read.Relief);
  EXPECT_FALSE(read.Confirm);
}

TEST(LitConfig, EmptyValuesTakeTheDefaults) {
  MemoryStore store;
  for (const char* name : {"Sens", "Taille", "PosTop", "Relief", "cfdel", "OnTop", "ShowName", "Fond"}) {
    Put(store, name, "");
  }
  const TConfig cfg = ReadConfig(store);
  EXPECT_EQ(cfg.Sens, "D");
  EXPECT_EQ(cfg.Taille, 32);
  EXPECT_EQ(cfg.PosTop, 0);
  EXPECT_TRUE(cfg.Relief);
  EXPECT_TRUE(cfg.cfdel);
  EXPECT_TRUE(cfg.OnTop);
  EXPECT_FALSE(cfg.ShowName);
  EXPECT_EQ(cfg.Fond, "");
}

TEST(LitConfig, MalformedNumbersAndColoursReadAsMissing) {
  MemoryStore store;
  const StoreValue dword48{ValueType::Other, std::string("\x30\0\0\0", 4)};
  for (const StoreValue& bad :
       {Text("abc"), Text("12px"), Text(" 5"), Text("99999999999"), Bytes({1, 0, 0, 0}), dword48}) {
    Put(store, "PosTop", bad);
    Put(store, "Taille", bad);
    const TConfig cfg = ReadConfig(store);
    EXPECT_EQ(cfg.PosTop, 0) << bad.data;
    EXPECT_EQ(cfg.Taille, 32) << bad.data;
  }
  // No tile can be drawn at a size of zero or less, nor a bar of tiles thousands of pixels wide.
  for (const char* size : {"0", "-16", "257", "100000"}) {
    Put(store, "Taille", size);
    EXPECT_EQ(ReadConfig(store).Taille, 32) << size;
  }
  Put(store, "Taille", "256");
  EXPECT_EQ(ReadConfig(store).Taille, 256);
  Put(store, "Taille", "48");
  Put(store, "PosTop", "-40");
  EXPECT_EQ(ReadConfig(store).Taille, 48);
  EXPECT_EQ(ReadConfig(store).PosTop, -40);

  for (const StoreValue& bad :
       {Text("12632256"), Bytes({1, 2, 3}), Bytes({1, 2, 3, 4, 5}), Bytes({0, 0, 0, 0}),
        StoreValue{ValueType::Other, std::string("\x01\x02\x03\x04")}, Bytes({})}) {
    Put(store, "Couleur", bad);
    EXPECT_EQ(ReadConfig(store).Couleur, 0xC0C0C0U) << bad.data.size();
  }
  Put(store, "Couleur", Bytes({0xFF, 0x00, 0x00, 0x00}));  // red is the low byte
  EXPECT_EQ(ReadConfig(store).Couleur, 0x0000FFU);
  Put(store, "Couleur", Bytes({0x4B, 0x24, 0x22, 0x00}));
  EXPECT_EQ(ReadConfig(store).Couleur, 0x22244BU);

  // The task bar's colours keep black; its font size is one byte.
  for (const StoreValue& bad : {Text("0"), Bytes({1, 2, 3}), Bytes({})}) {
    Put(store, "TaskColorOn", bad);
    EXPECT_EQ(ReadConfig(store).Task.ColorOn, 0U) << bad.data.size();
  }
  for (const char* size : {"256", "-1", "x", "99999999999"}) {
    Put(store, "TaskFontSize", size);
    EXPECT_EQ(ReadConfig(store).Task.FontSize, 0) << size;
  }
  Put(store, "TaskShowTray", "");
  EXPECT_TRUE(ReadConfig(store).Task.ShowTray);
  Put(store, "TaskShowTray", "0");
  EXPECT_FALSE(ReadConfig(store).Task.ShowTray);
}

TEST(LitConfig, ExitZeroMarksAnAbnormalEnd) {
  MemoryStore store;
  bool sortie = true;
  Put(store, "exit", "0");
  ReadConfig(store, &sortie);
  EXPECT_FALSE(sortie);
  for (const StoreValue& other : {Text("1"), Text(""), Text("00"), Text(" 0"), Bytes({'0'})}) {
    Put(store, "exit", other);
    ReadConfig(store, &sortie);
    EXPECT_TRUE(sortie) << other.data;
  }
  store.Open(kDockKey, false)->Remove("exit");
  ReadConfig(store, &sortie);
  EXPECT_TRUE(sortie);

  ql::EcritSortie(store, "0");
  ReadConfig(store, &sortie);
  EXPECT_FALSE(sortie);
  WriteLayout(store, {});  // the rewrite of the key drops the mark
  EXPECT_FALSE(Get(store, "exit"));
  ReadConfig(store, &sortie);
  EXPECT_TRUE(sortie);
}

TEST(Config, HotKeyCharacterIsTheSixthCharacter) {
  EXPECT_EQ(ql::HotKeyCharacter("Ctrl+L"), 'L');
  EXPECT_EQ(ql::HotKeyCharacter("Ctrl+"), std::nullopt);
  EXPECT_EQ(ql::HotKeyCharacter(""), std::nullopt);
  EXPECT_EQ(ql::EdgeOf("G"), ql::Edge::Left);
  EXPECT_EQ(ql::EdgeOf("H"), ql::Edge::Top);
  EXPECT_EQ(ql::EdgeOf("g"), ql::Edge::Right);
}

// --- Lock values ----------------------------------------------------------------------------

// A short password whose scrambled form holds a byte 0, which a plain string would cut short.
std::string PasswordScramblingToZero() {
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (char a : letters) {
    for (char b : letters) {
      for (char c : letters) {
        const std::string candidate{a, b, c};
        if (ql::ScrambleText(candidate, ql::kPasswordKey)->find('\0') != std::string::npos) return candidate;
      }
    }
  }
  return {};
}

TEST(LockValues, PasswordsRoundTrip) {
  const std::string zero = PasswordScramblingToZero();
  ASSERT_FALSE(zero.empty());
  for (const std::string& password : {std::string(), std::string("secret"), std::string("Mixed Case 42"),
                                      std::string(255, 'x'), std::string("p\xC3\xA4sswort"), zero}) {
    MemoryStore store;
    TConfig cfg;
    cfg.MotDePasse = password;
    cfg.Provider = true;
    ql::EcritVerrou(store, cfg);
    auto init = Get(store, "Init", kLockKey);
    ASSERT_TRUE(init);
    EXPECT_EQ(init->type, ValueType::Binary);
    EXPECT_EQ(init->data.size(), password.size());  // one scrambled byte per byte
    if (!password.empty()) {
      EXPECT_NE(init->data, password);
    }
    EXPECT_EQ(Get(store, "Provider", kLockKey), Text("1"));
    const TConfig read = ReadConfig(store);
    EXPECT_EQ(read.MotDePasse, password);
    EXPECT_TRUE(read.Provider);
  }
  MemoryStore store;
  TConfig off;
  ql::EcritVerrou(store, off);
  EXPECT_EQ(Get(store, "Provider", kLockKey), Text("0"));
  EXPECT_FALSE(ReadConfig(store).Provider);
  store.Open(kLockKey, false)->WriteString("Provider", "yes");
  EXPECT_FALSE(ReadConfig(store).Provider);
}

// Older stores and other writers keep "Init" as a string of the system code page, one character
// per scrambled byte; the memory store's code page is Windows-1252. Reading those characters as
// Latin-1 turned the bytes 0x80 to 0x9F into other bytes and garbled the rest of the password.
TEST(LockValues, InitStoredAsACodePageStringReadsBack) {
  std::mt19937 rng(31);
  std::vector<std::string> passwords = {"password"};
  for (int i = 0; i < 300; ++i) {
    std::string p(8, 'a');
    for (char& c : p) c = static_cast<char>('a' + rng() % 26);
    passwords.push_back(p);
  }
  auto inC1 = [](const std::string& bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
      return static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) < 0xA0;
    });
  };
  ASSERT_TRUE(inC1(*ql::ScrambleText("password", ql::kPasswordKey)));
  int tested = 0;
  int withC1 = 0;
  std::vector<std::string> wrong;
  MemoryStore store;
  auto key = store.Open(kLockKey, true);
  for (const std::string& password : passwords) {
    const std::string scrambled = *ql::ScrambleText(password, ql::kPasswordKey);
    if (scrambled.find('\0') != std::string::npos) continue;  // no string can hold that one
    ++tested;
    withC1 += inC1(scrambled) ? 1 : 0;
    key->WriteString("Init", ql::Windows1252ToUtf8(scrambled));
    if (ReadConfig(store).MotDePasse != password) wrong.push_back(password);
  }
  EXPECT_EQ(wrong, std::vector<std::string>{}) << wrong.size() << " of " << tested << " come back wrong";
  EXPECT_GT(tested, 280);
  EXPECT_GT(withC1, tested / 3);

  // A character the code page lacks cannot come from such a writer: below U+0100 it is read as
  // its number, beyond that the password is the default empty one, never garbage.
  key->WriteString("Init", "\xC2\x80");
  EXPECT_EQ(ReadConfig(store).MotDePasse, *ql::UnscrambleText("\x80", ql::kPasswordKey));
  key->WriteString("Init", "ab\xC4\x80");
  EXPECT_EQ(ReadConfig(store).MotDePasse, "");
}

TEST(CodePage, Windows1252KeepsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(ql::Utf8ToWindows1252(ql::Windows1252ToUtf8(all)), all);
  // The euro sign, an unassigned byte kept as its control character, Y with diaeresis, e acute.
  EXPECT_EQ(ql::Windows1252ToUtf8("\x80\x81\x9F\xE9"), "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xA9");
  for (const char* outside : {"\xC2\x80", "\xC4\x80", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"}) {
    EXPECT_FALSE(ql::Utf8ToWindows1252(outside)) << outside;
  }
  for (const char* broken : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\x80", "\xF8\x88\x80\x80\x80"}) {
    EXPECT_FALSE(ql::Utf8ToWindows1252(broken));
    EXPECT_FALSE(ql::Utf8ToLatin1(broken));
  }
  EXPECT_EQ(ql::Utf8ToLatin1("a\xC2\x80\xC3\xBF"), "a\x80\xFF");
  EXPECT_FALSE(ql::Utf8ToLatin1("\xE2\x82\xAC"));
}

// --- Button entries -------------------------------------------------------------------------

TEST(LitBaseRegistre, MembersComeBackInBranchOrderWhereverTheirEntriesAre) {
  MemoryStore store;
  Put(store, "BtnApp1", "y,BtnApp3-");  // a member stored before its group
  Put(store, "BtnApp2", "A");
  Put(store, "BtnApp3", "G");
  Put(store, "BtnApp4", "x,BtnApp3-");
  Put(store, "BtnApp5", "z,BtnApp2-");
  Put(store, "NomApp4", "Ex");
  Put(store, "Icone4", "x.exe,2");
  Put(store, "Texture4", "x.bmp");
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  EXPECT_EQ(Shape(store), "A[z] G[y x]");
  TBouton* x = list.FindPtr(4);
  ASSERT_NE(x, nullptr);  // Numero is the entry number until the next renumbering
  EXPECT_EQ(x->BtnApp, "x");
  EXPECT_EQ(x->NumBranche, 3);
  EXPECT_EQ(x->NomApp, "Ex");
  EXPECT_EQ(x->IconPath, "x.exe");
  EXPECT_EQ(x->IconIndex, 2);
  EXPECT_EQ(x->Texture, "x.bmp");
  EXPECT_EQ(list.FindPtr(2)->BtnApp, "A");
  // A suffix must end the value exactly to mark a member.
  Put(store, "BtnApp6", "q,BtnApp3-x");
  Put(store, "BtnApp7", "r,BtnApp-");
  Put(store, "BtnApp8", "s,btnapp3-");
  EXPECT_EQ(Shape(store), "A[z] G[y x] q,BtnApp3-x r,BtnApp- s,btnapp3-");
}

TEST(LitBaseRegistre, MemberOfAMissingGroupIsDroppedAndGoneAfterTheNextWrite) {
  MemoryStore store;
  Put(store, "BtnApp1", "A");
  Put(store, "BtnApp2", "lost,BtnApp7-");
  Put(store, "BtnApp3", "also lost,BtnApp4-");  // its group is a member itself
  Put(store, "BtnApp4", "m,BtnApp1-");
  Put(store, "BtnApp5", "big,BtnApp99999999999-");  // a group number beyond any entry
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  EXPECT_EQ(Shape(store), "A[m]");
  ql::EcritBaseRegistre(store, TConfig{}, 0, list);
  EXPECT_EQ(Get(store, "BtnApp1"), Text("A"));
  EXPECT_EQ(Get(store, "BtnApp2"), Text("m,BtnApp1-"));
  EXPECT_EQ(LowerNames(store), ExpectedNames(2));
}

TEST(LitBaseRegistre, ReadingStopsAtTheFirstMissingCommand) {
  MemoryStore store;
  WriteLayout(store, {{B("1"), {}}, {B("2"), {}}, {B("3"), {}}, {B("4"), {}}, {B("5"), {}}});
  EXPECT_EQ(Shape(store), "1 2 3 4 5");
  store.Open(kDockKey, false)->Remove("BtnApp3");
  EXPECT_EQ(Shape(store), "1 2");
  Put(store, "BtnApp3", "");
  EXPECT_EQ(Shape(store), "1 2");
  Put(store, "BtnApp3", Bytes({'3'}));
  EXPECT_EQ(Shape(store), "1 2");
}

TEST(LitBaseRegistre, OnlyTheTextAfterTheLastCommaIsTheIconIndex) {
  const std::vector<std::tuple<std::string, std::string, int>> cases = {
      {"C:\\Program Files\\a,b\\tool.dll,12", "C:\\Program Files\\a,b\\tool.dll", 12},
      {"shell32.dll,-3", "shell32.dll", -3},
      {"plain.ico", "plain.ico", 0},
      {"x.dll,abc", "x.dll", 0},
      {",999", "", 999},
      {"", "", 0},
  };
  for (const auto& [stored, path, index] : cases) {
    MemoryStore store;
    Put(store, "BtnApp1", "cmd");
    Put(store, "Icone1", stored);
    ButtonList list;
    ql::LitBaseRegistre(store, list);
    ASSERT_FALSE(list.Empty());
    EXPECT_EQ(list.First()->IconPath, path) << stored;
    EXPECT_EQ(list.First()->IconIndex, index) << stored;
  }
  // And a written path with commas comes back whole.
  MemoryStore store;
  ButtonData d{"n", "cmd", "C:\\a,b,c\\x.exe", "", 7};
  WriteLayout(store, {{d, {}}});
  EXPECT_EQ(Get(store, "Icone1"), Text("C:\\a,b,c\\x.exe,7"));
  EXPECT_EQ(Readable(store), Expected({{d, {}}}));
}

TEST(EcritBaseRegistre, StoresAPlainButtonAndAGroupOfTwo) {
  MemoryStore store;
  WriteLayout(store, {{B("notepad.exe"), {}}, {B("group"), {B("m1"), B("m2")}}});
  EXPECT_EQ(Get(store, "BtnApp1"), Text("notepad.exe"));
  EXPECT_EQ(Get(store, "BtnApp2"), Text("group"));
  EXPECT_EQ(Get(store, "BtnApp3"), Text("m1,BtnApp2-"));
  EXPECT_EQ(Get(store, "BtnApp4"), Text("m2,BtnApp2-"));
  EXPECT_EQ(Get(store, "NomApp3"), Text("Name of m1"));
  EXPECT_EQ(Get(store, "Icone4"), Text("C:\\icons\\m2.ico,3"));
  EXPECT_EQ(Get(store, "Couleur"), Bytes({0xC0, 0xC0, 0xC0, 0x00}));
  EXPECT_EQ(LowerNames(store), ExpectedNames(4));
  // Into an empty key the options go first, in their order.
  std::vector<std::string> order;
  for (const auto& e : store.ValuesOf(kDockKey)) order.push_back(e.name);
  order.resize(kOptionNames.size());
  EXPECT_EQ(order, kOptionNames);
  EXPECT_EQ(Shape(store), "notepad.exe group[m1 m2]");
}

TEST(EcritBaseRegistre, KeyEndsWithExactlyTheWrittenValues) {
  MemoryStore store;
  WriteLayout(store, {{B("a"), {}}, {B("b"), {B("b1")}}, {B("c"), {}}, {B("d"), {}}, {B("e"), {B("e1")}}},
              TConfig{});
  Put(store, "exit", "0");
  Put(store, "Foo", "left by someone");
  Put(store, "TEXTURE7", "old.bmp");
  Put(store, "btnapp9", "beyond a gap");
  // Names differing only in case are the same value: overwritten, never doubled.
  auto key = store.Open(kDockKey, false);
  key->Remove("BtnApp1");
  key->Remove("ShowName");
  Put(store, "BTNAPP1", "a");
  Put(store, "showname", "1");

  WriteLayout(store, {{B("a"), {}}, {B("c"), {B("c1")}}});
  EXPECT_EQ(LowerNames(store), ExpectedNames(3));
  EXPECT_EQ(store.ValuesOf(kDockKey).size(), ExpectedNames(3).size());
  EXPECT_EQ(Shape(store), "a c[c1]");
  EXPECT_EQ(Get(store, "ShowName"), Text("0"));
}

TEST(EcritBaseRegistre, TextureSurvivesARoundTripAndGoesWhenCleared) {
  MemoryStore store;
  WriteLayout(store, {{B("a"), {}}, {B("b", "C:\\tex\\wood.bmp"), {B("m", "marble.bmp")}}});
  EXPECT_EQ(Get(store, "Texture2"), Text("C:\\tex\\wood.bmp"));
  EXPECT_EQ(Get(store, "Texture3"), Text("marble.bmp"));
  EXPECT_EQ(LowerNames(store), ExpectedNames(3, {2, 3}));

  ButtonList list;
  ql::LitBaseRegistre(store, list);
  EXPECT_EQ(list.FindPtr(2)->Texture, "C:\\tex\\wood.bmp");
  EXPECT_EQ(list.FindPtr(3)->Texture, "marble.bmp");
  EXPECT_EQ(list.FindPtr(1)->Texture, "");

  list.FindPtr(2)->Texture.clear();
  ql::EcritBaseRegistre(store, TConfig{}, 0, list);
  EXPECT_FALSE(Get(store, "Texture2"));
  EXPECT_EQ(LowerNames(store), ExpectedNames(3, {3}));
  ButtonList again;
  ql::LitBaseRegistre(store, again);
  EXPECT_EQ(again.FindPtr(2)->Texture, "");
  EXPECT_EQ(again.FindPtr(3)->Texture, "marble.bmp");
}

TEST(EcritBaseRegistre, PosTopIsTakenFromTheCaller) {
  MemoryStore store;
  TConfig cfg;
  cfg.PosTop = 5;
  WriteLayout(store, {}, cfg, 77);
  EXPECT_EQ(Get(store, "PosTop"), Text("77"));
  EXPECT_EQ(ReadConfig(store).PosTop, 77);
}

TEST(EcritBaseRegistre, RewritingWhatWasReadChangesNothing) {
  MemoryStore store;
  TConfig cfg;
  cfg.Sens = "G";
  cfg.HotKey = "Ctrl+K";
  WriteLayout(store, {{B("a", "t.bmp"), {B("a1")}}, {B("b"), {}}, {B("c"), {B("c1"), B("c2")}}}, cfg, 12);
  const auto before = store.ValuesOf(kDockKey);
  const std::size_t writes = store.writes();
  const std::size_t removes = store.removes();
  const std::size_t keyChanges = store.keyChanges();
  ql::RecoverStore(store);  // nothing pending: nothing done

  TConfig read;
  ql::LitConfig(store, read);
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  ql::EcritBaseRegistre(store, read, read.PosTop, list);
  EXPECT_EQ(store.ValuesOf(kDockKey).size(), before.size());
  for (const auto& e : before) EXPECT_EQ(Get(store, e.name), e.value) << e.name;
  EXPECT_EQ(store.writes(), writes);  // values already right are not written again
  EXPECT_EQ(store.removes(), removes);
  EXPECT_EQ(store.keyChanges(), keyChanges);
}

TEST(RenumBtn, WritingStoresEveryEntryAndRemovesNothingElse) {
  MemoryStore store;
  WriteLayout(store, {{B("a"), {}}, {B("b", "b.bmp"), {}}, {B("c"), {}}});
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  list.DisposeBouton(list.FindPtr(1), true);
  list.RenumBtn(store.Open(kDockKey, false).get());
  EXPECT_EQ(list.NbBoutons(), 2);
  EXPECT_EQ(Get(store, "BtnApp1"), Text("b"));
  EXPECT_EQ(Get(store, "Texture1"), Text("b.bmp"));
  EXPECT_EQ(Get(store, "BtnApp2"), Text("c"));
  EXPECT_FALSE(Get(store, "Texture2"));         // b's texture does not stay with c's entry
  EXPECT_EQ(Get(store, "BtnApp3"), Text("c"));  // left for EcritBaseRegistre to remove
}

// --- A kill at any point: the next start reads the old state or the new one -----------------

// Runs a check after every change made through it: a value written or removed, a key made or
// deleted. A copy of the store taken there is what a kill at that moment would leave.
class WatchedStore final : public ql::KeyValueStore {
 public:
  WatchedStore(MemoryStore& inner, std::function<void()> check) : inner_(inner), check_(std::move(check)) {}
  std::unique_ptr<ql::StoreKey> Open(std::string_view path, bool create) override {
    const std::size_t keys = inner_.keyChanges();
    auto key = inner_.Open(path, create);
    if (inner_.keyChanges() != keys) check_();
    if (!key) return nullptr;
    return std::make_unique<WatchedKey>(std::move(key), check_);
  }
  bool DeleteKey(std::string_view path) override {
    const std::size_t keys = inner_.keyChanges();
    const bool ok = inner_.DeleteKey(path);
    if (inner_.keyChanges() != keys) check_();
    return ok;
  }
  std::optional<std::string> CodePageBytes(std::string_view text) const override {
    return inner_.CodePageBytes(text);
  }

 private:
  class WatchedKey final : public ql::StoreKey {
   public:
    WatchedKey(std::unique_ptr<ql::StoreKey> inner, const std::function<void()>& check)
        : inner_(std::move(inner)), check_(check) {}
    std::optional<StoreValue> Read(std::string_view name) const override { return inner_->Read(name); }
    bool Write(std::string_view name, const StoreValue& value) override {
      const bool ok = inner_->Write(name, value);
      check_();
      return ok;
    }
    bool Remove(std::string_view name) override {
      const bool ok = inner_->Remove(name);
      check_();
      return ok;
    }
    std::vector<std::string> Names() const override { return inner_->Names(); }

   private:
    std::unique_ptr<ql::StoreKey> inner_;
    const std::function<void()>& check_;
  };

  MemoryStore& inner_;
  std::function<void()> check_;
};

// Everything a start takes from the store: the options, SortieNormale and the bar in order,
// each record whole and each member under its group.
struct StartState {
  TConfig cfg;
  bool sortieNormale = true;
  std::string bar;
  bool operator==(const StartState&) const = default;
};

StartState ReadAtStart(MemoryStore& store) {
  ql::RecoverStore(store);
  StartState state;
  state.sortieNormale = ql::LitConfig(store, state.cfg);
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  for (const TBouton* r : list.MainBar()) {
    state.bar += RecordText(*r) + " [";
    for (const TBouton* m : ButtonList::Members(*r)) state.bar += RecordText(*m) + "; ";
    state.bar += "]\n";
  }
  return state;
}

// Lower-cased names and their values: names differing only in case are one value.
std::map<std::string, StoreValue> KeyContents(MemoryStore& store) {
  std::map<std::string, StoreValue> out;
  for (const auto& e : store.ValuesOf(kDockKey)) out[ql::ToLowerAscii(e.name)] = e.value;
  return out;
}

bool HasKeysBelowDockKey(MemoryStore& store) {
  const std::string below = ql::ToLowerAscii(kDockKey) + "\\";
  const auto paths = store.KeyPaths();
  return std::any_of(paths.begin(), paths.end(), [&](const std::string& p) { return p.starts_with(below); });
}

using Prepare = std::function<void(MemoryStore&)>;

// Rewrites a store prepared by `prepare` with `after`. A kill after any single change must leave
// a store from which the next start (RecoverStore, LitConfig, LitBaseRegistre) reads exactly the
// old state or exactly the new one; with `killRecovery`, a kill inside that recovery too. The
// key must end exactly as a write of `after` into an empty key leaves it, with no journal left.
void ExpectKillSafe(const Prepare& prepare, const Layout& after, const TConfig& cfgAfter,
                    const std::string& label, bool killRecovery = false) {
  MemoryStore fresh;
  WriteLayout(fresh, after, cfgAfter);
  MemoryStore store;
  prepare(store);
  MemoryStore oldCopy(store);
  const StartState oldState = ReadAtStart(oldCopy);
  MemoryStore newCopy(fresh);
  const StartState newState = ReadAtStart(newCopy);
  ASSERT_EQ(Readable(fresh), Expected(after)) << label;

  int steps = 0;
  bool failed = false;
  auto expectOldOrNew = [&](MemoryStore& left, const std::string& when) {
    if (failed) return;
    const StartState state = ReadAtStart(left);
    if (state != oldState && state != newState) {
      failed = true;
      ADD_FAILURE() << label << ": " << when << " the next start reads neither the old nor the new state:\n"
                    << state.bar << "old:\n"
                    << oldState.bar << "new:\n"
                    << newState.bar;
    }
  };
  WatchedStore watched(store, [&] {
    ++steps;
    MemoryStore killed(store);
    expectOldOrNew(killed, "after change " + std::to_string(steps));
    if (!killRecovery || failed) return;
    MemoryStore recovering(store);
    int recoverySteps = 0;
    WatchedStore watchedRecovery(recovering, [&] {
      MemoryStore killedAgain(recovering);
      expectOldOrNew(killedAgain, "after change " + std::to_string(steps) + " and a kill at change " +
                                      std::to_string(++recoverySteps) + " of the recovery,");
    });
    ql::RecoverStore(watchedRecovery);
  });
  WriteLayout(watched, after, cfgAfter);
  EXPECT_EQ(KeyContents(store), KeyContents(fresh)) << label;
  EXPECT_FALSE(HasKeysBelowDockKey(store)) << label;
}

void ExpectKillSafe(const Layout& before, const TConfig& cfgBefore, const Layout& after,
                    const TConfig& cfgAfter, const std::string& label) {
  ExpectKillSafe([&](MemoryStore& s) { WriteLayout(s, before, cfgBefore); }, after, cfgAfter, label, true);
}

TEST(KillSafety, EveryKindOfEdit) {
  const Button a{B("A"), {}}, b{B("B"), {}}, c{B("C", "c.bmp"), {}}, d{B("D"), {}};
  const Button g{B("G"), {B("g1"), B("g2", "g2.bmp")}}, h{B("H"), {B("h1")}};
  TConfig other;
  other.Taille = 64;
  other.ShowName = true;
  other.Fond = "fond.bmp";
  const std::vector<std::tuple<std::string, Layout, Layout>> edits = {
      {"exchange of two buttons", {a, b, c}, {b, a, c}},
      {"exchange of a group and a button", {a, g, b}, {g, a, b}},
      {"exchange of two groups", {g, a, h}, {h, a, g}},
      {"first button deleted", {a, g, b, h}, {g, b, h}},
      {"group deleted with its members", {a, g, b, h}, {a, b, h}},
      {"button dropped at the end", {a, g, h}, {a, g, h, d}},
      {"member sent to another group",
       {g, h},
       {{g.data, {g.members[0]}}, {h.data, {h.members[0], g.members[1]}}}},
      {"member sent to the main bar", {g, a}, {{g.data, {g.members[1]}}, a, {g.members[0], {}}}},
      {"one button becomes a group of four", {a}, {{a.data, {B("1"), B("2"), B("3"), B("4")}}}},
      {"a group of four becomes one button", {{a.data, {B("1"), B("2"), B("3"), B("4")}}}, {a}},
      {"groups whose members trade places", {g, h}, {{g.data, h.members}, {h.data, g.members}}},
      {"reversed", {a, b, c, d, g}, {g, d, c, b, a}},
      {"from nothing", {}, {a, g}},
      {"to nothing", {a, g}, {}},
      {"texture of a middle button", {a, b, c}, {a, {B("B", "new.bmp"), {}}, {B("C"), {}}}},
      {"unchanged", {a, g, b}, {a, g, b}},
  };
  for (const auto& [label, before, after] : edits) {
    ExpectKillSafe(before, TConfig{}, after, TConfig{}, label);
    ExpectKillSafe(before, TConfig{}, after, other, label + " with other options");
    ExpectKillSafe(before, other, after, other, label + " under other options");
  }
  TConfig oneOption;
  oneOption.SingleClick = true;
  ExpectKillSafe({a, g}, TConfig{}, {a, g}, oneOption, "one option alone");
}

TEST(KillSafety, StoresWithGapsLeftoversAndOtherCases) {
  const Layout five = {{B("1"), {}}, {B("2"), {}}, {B("3"), {}}, {B("4"), {B("4a")}}, {B("5"), {}}};
  auto gap = [&](MemoryStore& s) {
    WriteLayout(s, five);
    s.Open(kDockKey, false)->Remove("BtnApp3");  // entries 4.. no longer read
    Put(s, "exit", "0");
  };
  ExpectKillSafe(gap, {{B("2"), {}}, {B("1"), {}}}, TConfig{}, "gap, exchange", true);
  ExpectKillSafe(gap, five, TConfig{}, "gap, the old five again", true);
  ExpectKillSafe(gap, {{B("9"), {B("9a"), B("9b"), B("9c")}}}, TConfig{}, "gap, all new", true);
  auto strays = [&](MemoryStore& s) {
    WriteLayout(s, five);
    Put(s, "BtnApp7", "x,BtnApp1-");  // beyond the end: unread until something fills entry 7
    Put(s, "Texture8", "stray.bmp");
    Put(s, "NomApp9", "stray");
    Put(s, "BTNAPP1", "1");  // the same value under another case
  };
  ExpectKillSafe(strays,
                 {{B("0"), {}}, {B("1"), {}}, {B("2"), {}}, {B("3"), {}}, {B("4"), {B("4a")}}, {B("5"), {}}},
                 TConfig{}, "strays, one inserted in front", true);
  // A journal left by someone else, incomplete: dropped, never replayed.
  auto leftover = [&](MemoryStore& s) {
    WriteLayout(s, five);
    s.Open(ql::JournalPath(kDockKey) + "\\Write", true)->WriteString("BtnApp1", "not mine");
  };
  MemoryStore withLeftover;
  leftover(withLeftover);
  EXPECT_EQ(Shape(withLeftover), "1 2 3 4[4a] 5");
  ql::RecoverStore(withLeftover);
  EXPECT_EQ(Shape(withLeftover), "1 2 3 4[4a] 5");
  EXPECT_FALSE(HasKeysBelowDockKey(withLeftover));
  ExpectKillSafe(leftover, {{B("5"), {}}, {B("1"), {}}}, TConfig{}, "over an incomplete journal");
}

// Deleting the dock key by hand gives a first start, whatever a killed rewrite left in it.
TEST(KillSafety, DeletingTheDockKeyByHandGivesAFirstStart) {
  MemoryStore store;
  WriteLayout(store, {{B("A"), {}}, {B("G"), {B("g1")}}});
  int complete = 0;
  WatchedStore watched(store, [&] {
    MemoryStore killed(store);
    auto mark = killed.Open(ql::JournalPath(kDockKey), false);
    if (!mark || mark->ReadString("Complete") != "1") return;
    ++complete;
    killed.DeleteKey(kDockKey);
    EXPECT_EQ(ReadAtStart(killed), StartState{});
    EXPECT_FALSE(killed.HasKey(kDockKey));
  });
  TConfig cfg;
  cfg.Sens = "G";
  WriteLayout(watched, {{B("G"), {B("g1")}}, {B("B"), {}}}, cfg);
  EXPECT_GT(complete, 0);
}

// Random bars and random edits of them, commands drawn from a few names so that equal entries
// at equal places are common.
TEST(KillSafety, RandomEdits) {
  std::mt19937 rng(20240611);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto randomButton = [&] {
    ButtonData d = B(std::string(1, static_cast<char>('A' + pick(4))), pick(4) == 0 ? "t.bmp" : "");
    if (pick(3) == 0) d.NomApp = "other name";
    return d;
  };
  auto randomLayout = [&] {
    Layout layout(static_cast<std::size_t>(pick(6)));
    for (auto& b : layout) {
      b.data = randomButton();
      const int members = pick(3) == 0 ? pick(4) : 0;
      for (int i = 0; i < members; ++i) b.members.push_back(randomButton());
    }
    return layout;
  };
  auto edit = [&](Layout layout) {
    const int edits = 1 + pick(3);
    for (int i = 0; i < edits; ++i) {
      switch (pick(6)) {
        case 0:
          if (!layout.empty()) layout.erase(layout.begin() + pick(static_cast<int>(layout.size())));
          break;
        case 1:
          if (layout.size() > 1) {
            std::swap(layout[static_cast<std::size_t>(pick(static_cast<int>(layout.size())))],
                      layout[static_cast<std::size_t>(pick(static_cast<int>(layout.size())))]);
          }
          break;
        case 2:
          layout.insert(layout.begin() + pick(static_cast<int>(layout.size()) + 1),
                        Button{randomButton(), {}});
          break;
        case 3:
          if (!layout.empty()) {
            auto& b = layout[static_cast<std::size_t>(pick(static_cast<int>(layout.size())))];
            b.members.insert(b.members.begin() + pick(static_cast<int>(b.members.size()) + 1),
                             randomButton());
          }
          break;
        case 4:
          for (auto& b : layout) {
            if (!b.members.empty()) {
              b.members.erase(b.members.begin() + pick(static_cast<int>(b.members.size())));
              break;
            }
          }
          break;
        default:
          layout = randomLayout();
          break;
      }
    }
    return layout;
  };
  for (int round = 0; round < 300 && !HasFailure(); ++round) {
    const Layout before = randomLayout();
    const Layout after = edit(before);
    TConfig cfg;
    cfg.Taille = pick(2) == 0 ? 32 : 48;
    ExpectKillSafe([&](MemoryStore& s) { WriteLayout(s, before); }, after, cfg,
                   "round " + std::to_string(round), round % 10 == 0);
  }
}

// --- After the close, and after a start that died ------------------------------------------

TEST(SealableStore, AfterTheSealNothingIsWrittenButEverythingReads) {
  MemoryStore inner;
  ql::SealableStore store(inner);
  TConfig cfg;
  cfg.Taille = 48;
  WriteLayout(store, {{B("A"), {}}}, cfg);
  auto early = store.Open(kDockKey, true);
  ASSERT_NE(early, nullptr);
  store.Open("Scratch\\Below", true);
  EXPECT_FALSE(store.sealed());
  store.Seal();
  EXPECT_TRUE(store.sealed());

  const std::size_t writes = inner.writes();
  const std::size_t removes = inner.removes();
  const std::size_t keyChanges = inner.keyChanges();
  EXPECT_FALSE(early->WriteString("Taille", "64"));  // a key opened before the seal
  EXPECT_FALSE(early->Remove("Taille"));
  auto late = store.Open(kDockKey, true);
  ASSERT_NE(late, nullptr);
  EXPECT_FALSE(late->WriteString("Sens", "G"));
  EXPECT_EQ(store.Open("New\\Key", true), nullptr);
  EXPECT_FALSE(store.DeleteKey("Scratch"));
  // The dock's own writers, as a dialog's OK after the close would run them.
  TConfig changed = cfg;
  changed.MotDePasse = "late";
  WriteLayout(store, {{B("B"), {B("b1")}}}, changed);
  ql::EcritVerrou(store, changed);
  ql::EcritSortie(store, "0");
  EXPECT_FALSE(ql::BeginStart(store));
  EXPECT_EQ(inner.writes(), writes);
  EXPECT_EQ(inner.removes(), removes);
  EXPECT_EQ(inner.keyChanges(), keyChanges);
  EXPECT_TRUE(inner.HasKey("Scratch\\Below"));
  EXPECT_FALSE(inner.HasKey(kLockKey));

  EXPECT_EQ(ReadConfig(inner), cfg);
  bool sortie = false;
  TConfig read;
  sortie = ql::LitConfig(store, read);  // reads go on through the sealed store
  EXPECT_TRUE(sortie);
  EXPECT_EQ(read, cfg);
  EXPECT_EQ(Shape(store), "A");
  EXPECT_EQ(early->ReadString("Taille"), "48");
  EXPECT_EQ(store.CodePageBytes("\xE2\x82\xAC"), "\x80");

  // A key that outlives its sealed store stays sealed.
  std::unique_ptr<ql::StoreKey> survivor;
  {
    ql::SealableStore other(inner);
    survivor = other.Open(kDockKey, false);
    other.Seal();
  }
  ASSERT_NE(survivor, nullptr);
  EXPECT_FALSE(survivor->WriteString("Taille", "16"));
  EXPECT_EQ(ReadConfig(inner).Taille, 48);
}

TEST(StartGuard, AStartAfterOneThatDiedIsTold) {
  MemoryStore store;
  EXPECT_FALSE(ql::BeginStart(store));  // first start
  EXPECT_EQ(ReadConfig(store), TConfig{});
  ql::StartReachedLoop(store);
  EXPECT_FALSE(ql::BeginStart(store));  // after a start that reached its loop
  // ... which dies before its loop:
  EXPECT_TRUE(ql::BeginStart(store));
  EXPECT_TRUE(ql::BeginStart(store));  // and one that dies again without pictures is told too
  // The rewrites of the dock key and their recovery leave the mark alone...
  WriteLayout(store, {{B("A"), {}}, {B("G"), {B("g")}}});
  WriteLayout(store, {{B("G"), {B("g")}}});
  ql::RecoverStore(store);
  EXPECT_TRUE(store.HasKey(ql::kStartMarkKey));
  ql::StartReachedLoop(store);
  EXPECT_FALSE(store.HasKey(ql::kStartMarkKey));
  EXPECT_EQ(Shape(store), "G[g]");
  EXPECT_FALSE(ql::BeginStart(store));
  // ... and deleting the dock key by hand takes it with it.
  EXPECT_TRUE(ql::BeginStart(store));
  store.DeleteKey(kDockKey);
  EXPECT_FALSE(ql::BeginStart(store));
}

}  // namespace
