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
#include "core/Config.h"
#include "core/ConfigStore.h"
#include "core/MemoryStore.h"
#include "core/Scramble.h"
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
    "HideDesktop", "Relief",      "Confirm", "ShowName",  "RedimDesk", "OnTop",      "Taille",
    "PosTop",      "Sens",        "Fond",    "ItMenNorm", "ItMenSel",  "Couleur",    "Poste",
    "Net",         "Conf",        "Desk",    "Perso",     "Impr",      "Start",      "Format",
    "PlaySnd",     "StartLock",   "OpenW",   "CloseW",    "OpenWharf", "CloseWharf", "ModeClock",
    "ShowDots",    "SingleClick", "KovaM",   "cfdel",     "TaskBar",   "HotKey"};

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

// Older stores hold "Init" as a string whose characters 0 to 255 are the scrambled bytes.
TEST(LockValues, InitStoredAsAStringStillReads) {
  std::string password;
  std::string scrambled;
  for (const char* candidate : {"abc", "hello", "Quaylite", "wendor", "zzz9", "door", "key1", "lock"}) {
    scrambled = *ql::ScrambleText(candidate, ql::kPasswordKey);
    const bool high = std::any_of(scrambled.begin(), scrambled.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (high && scrambled.find('\0') == std::string::npos) {
      password = candidate;
      break;
    }
  }
  ASSERT_FALSE(password.empty()) << "no candidate scrambles to a byte above 127";
  std::string asText;  // the bytes as characters, in UTF-8
  for (char ch : scrambled) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      asText += ch;
    } else {
      asText += static_cast<char>(0xC0 | (c >> 6));
      asText += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  MemoryStore store;
  auto key = store.Open(kLockKey, true);
  key->WriteString("Init", asText);
  key->WriteString("Provider", "1");
  EXPECT_EQ(ReadConfig(store).MotDePasse, password);

  // U+0100 cannot be a scrambled byte: it must not be taken for the byte 0 (its low eight bits).
  key->WriteString("Init", "\xC4\x80");
  EXPECT_NE(ReadConfig(store).MotDePasse, *ql::UnscrambleText(std::string(1, '\0'), ql::kPasswordKey));
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

  TConfig read;
  ql::LitConfig(store, read);
  ButtonList list;
  ql::LitBaseRegistre(store, list);
  ql::EcritBaseRegistre(store, read, read.PosTop, list);
  EXPECT_EQ(store.ValuesOf(kDockKey).size(), before.size());
  for (const auto& e : before) EXPECT_EQ(Get(store, e.name), e.value) << e.name;
  EXPECT_EQ(store.writes(), writes);  // values already right are not written again
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

// --- A crash at any point loses nothing ----------------------------------------------------

// A store that runs a check after every single change made through it.
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

class WatchedStore final : public ql::KeyValueStore {
 public:
  WatchedStore(MemoryStore& inner, std::function<void()> check) : inner_(inner), check_(std::move(check)) {}
  std::unique_ptr<ql::StoreKey> Open(std::string_view path, bool create) override {
    auto key = inner_.Open(path, create);
    if (!key) return nullptr;
    return std::make_unique<WatchedKey>(std::move(key), check_);
  }

 private:
  MemoryStore& inner_;
  std::function<void()> check_;
};

std::map<std::string, std::optional<StoreValue>> Options(MemoryStore& store) {
  std::map<std::string, std::optional<StoreValue>> out;
  for (const auto& name : kOptionNames) out[name] = Get(store, name);
  return out;
}

bool Includes(const std::vector<std::string>& all, const std::vector<std::string>& part) {
  return std::includes(all.begin(), all.end(), part.begin(), part.end());
}

using Prepare = std::function<void(MemoryStore&)>;

// Rewrites a store prepared by `prepare` with `after`, checking after every change that either
// every button readable before or every button of the new list still reads back (with its
// group), and that each option holds its old or its new value.
void ExpectCrashSafe(const Prepare& prepare, const Layout& after, const TConfig& cfgAfter,
                     const std::string& label) {
  MemoryStore reference;
  prepare(reference);
  WriteLayout(reference, after, cfgAfter);
  const auto newButtons = Readable(reference);
  ASSERT_EQ(newButtons, Expected(after)) << label;

  MemoryStore store;
  prepare(store);
  const auto oldButtons = Readable(store);
  const auto oldOptions = Options(store);
  const auto newOptions = Options(reference);
  int steps = 0;
  bool failed = false;
  WatchedStore watched(store, [&] {
    ++steps;
    if (failed) return;
    const auto now = Readable(store);
    if (!Includes(now, oldButtons) && !Includes(now, newButtons)) {
      failed = true;
      ADD_FAILURE() << label << ": after change " << steps
                    << " neither the old nor the new buttons read back";
    }
    for (const auto& [name, value] : Options(store)) {
      if (value != oldOptions.at(name) && value != newOptions.at(name)) {
        failed = true;
        ADD_FAILURE() << label << ": option " << name << " holds a third value after change " << steps;
      }
    }
  });
  WriteLayout(watched, after, cfgAfter);
  EXPECT_EQ(store.ValuesOf(kDockKey).size(), reference.ValuesOf(kDockKey).size()) << label;
  for (const auto& e : reference.ValuesOf(kDockKey))
    EXPECT_EQ(Get(store, e.name), e.value) << label << e.name;
}

void ExpectCrashSafe(const Layout& before, const TConfig& cfgBefore, const Layout& after,
                     const TConfig& cfgAfter, const std::string& label) {
  ExpectCrashSafe([&](MemoryStore& s) { WriteLayout(s, before, cfgBefore); }, after, cfgAfter, label);
}

TEST(CrashSafety, EveryKindOfEditLosesNothing) {
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
      {"reversed", {a, b, c, d, g}, {g, d, c, b, a}},
      {"from nothing", {}, {a, g}},
      {"to nothing", {a, g}, {}},
      {"texture of a middle button", {a, b, c}, {a, {B("B", "new.bmp"), {}}, {B("C"), {}}}},
      {"unchanged", {a, g, b}, {a, g, b}},
  };
  for (const auto& [label, before, after] : edits) {
    ExpectCrashSafe(before, TConfig{}, after, TConfig{}, label);
    ExpectCrashSafe(before, TConfig{}, after, other, label + " with other options");
  }
}

TEST(CrashSafety, StoresWithGapsAndLeftoversLoseNothing) {
  const Layout five = {{B("1"), {}}, {B("2"), {}}, {B("3"), {}}, {B("4"), {B("4a")}}, {B("5"), {}}};
  auto gap = [&](MemoryStore& s) {
    WriteLayout(s, five);
    s.Open(kDockKey, false)->Remove("BtnApp3");  // entries 4.. no longer read
    Put(s, "exit", "0");
  };
  ExpectCrashSafe(gap, {{B("2"), {}}, {B("1"), {}}}, TConfig{}, "gap, exchange");
  ExpectCrashSafe(gap, five, TConfig{}, "gap, the old five again");
  ExpectCrashSafe(gap, {{B("9"), {B("9a"), B("9b"), B("9c")}}}, TConfig{}, "gap, all new");
  auto strays = [&](MemoryStore& s) {
    WriteLayout(s, five);
    Put(s, "BtnApp7", "x,BtnApp1-");  // beyond the end: unread until something fills entry 7
    Put(s, "Texture8", "stray.bmp");
    Put(s, "NomApp9", "stray");
  };
  ExpectCrashSafe(strays,
                  {{B("0"), {}}, {B("1"), {}}, {B("2"), {}}, {B("3"), {}}, {B("4"), {B("4a")}}, {B("5"), {}}},
                  TConfig{}, "strays, one inserted in front");
}

// Random bars and random edits of them, commands drawn from a few names so that equal entries
// at equal places are common.
TEST(CrashSafety, RandomEditsLoseNothing) {
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
  for (int round = 0; round < 200 && !HasFailure(); ++round) {
    const Layout before = randomLayout();
    const Layout after = edit(before);
    TConfig cfg;
    cfg.Taille = pick(2) == 0 ? 32 : 48;
    ExpectCrashSafe(before, TConfig{}, after, cfg, "round " + std::to_string(round));
  }
}

}  // namespace
