// The registry store on the real registry, inside a scratch key of the current user that each
// test makes and deletes again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ButtonStore.h"
#include "core/Config.h"
#include "core/ConfigStore.h"
#include "core/Scramble.h"
#include "core/Text.h"
#include "win/Handles.h"
#include "win/RegistryStore.h"
#include "win/Utf.h"
#include "win/Win.h"

namespace {

using ql::StoreValue;
using ql::ValueType;
using ql::win::RegistryStore;

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static unsigned counter = 0;
    base_ = "Software\\QuayliteTests\\" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(::GetTickCount()) + "-" + std::to_string(++counter);
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, ql::win::Widen(base_).c_str()), ERROR_FILE_NOT_FOUND);
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ql::win::Widen(base_).c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuayliteTests");  // only when no test is left in it
    EXPECT_FALSE(Raw("")) << "the scratch key is gone";
  }

  // The scratch key itself (or a key below it), opened directly.
  ql::win::RegKey Raw(const std::string& path, bool create = false) const {
    const std::wstring full = ql::win::Widen(path.empty() ? base_ : base_ + "\\" + path);
    HKEY key = nullptr;
    const LSTATUS rc = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, 0,
                                                  KEY_ALL_ACCESS, nullptr, &key, nullptr)
                              : ::RegOpenKeyExW(HKEY_CURRENT_USER, full.c_str(), 0, KEY_ALL_ACCESS, &key);
    return ql::win::RegKey(rc == ERROR_SUCCESS ? key : nullptr);
  }

  void SetRaw(const std::string& path, const wchar_t* name, DWORD type, const void* data, std::size_t size) {
    auto key = Raw(path, true);
    ASSERT_TRUE(key);
    ASSERT_EQ(
        ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
        ERROR_SUCCESS);
  }

  // The type and bytes of a value as the registry holds them.
  std::pair<DWORD, std::vector<BYTE>> GetRaw(const std::string& path, const wchar_t* name) {
    auto key = Raw(path);
    DWORD type = 0;
    DWORD size = 0;
    if (!key || ::RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return {};
    std::vector<BYTE> data(size);
    ::RegQueryValueExW(key.get(), name, nullptr, &type, data.data(), &size);
    return {type, data};
  }

  std::string base_;
};

TEST_F(RegistryStoreTest, StringsRoundTripAsTerminatedUtf16) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  auto key = store.Open("Values", true);
  ASSERT_NE(key, nullptr);
  const std::vector<std::string> texts = {
      "C:\\Program Files\\Quaylite\\ql.exe",
      "Caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC",  // Latin, euro sign, CJK
      "\xF0\x9F\x98\x80 outside the basic plane",
      "",
  };
  for (const std::string& text : texts) {
    ASSERT_TRUE(key->WriteString("Text", text));
    EXPECT_EQ(key->ReadString("Text"), text);
    const auto [type, bytes] = GetRaw("Values", L"Text");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    const std::wstring wide = ql::win::Widen(text);
    ASSERT_EQ(bytes.size(), (wide.size() + 1) * sizeof(wchar_t)) << text;
    EXPECT_EQ(std::memcmp(bytes.data(), wide.c_str(), bytes.size()), 0) << "with its terminator";
  }
  // A second handle on the same key sees the value: nothing is cached.
  EXPECT_EQ(store.Open("Values", false)->ReadString("Text"), "");
}

TEST_F(RegistryStoreTest, BinaryValuesKeepEveryByte) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  auto key = store.Open("Values", true);
  ASSERT_NE(key, nullptr);
  const std::string bytes("\0\x01\xFF\0\x80\0", 6);
  ASSERT_TRUE(key->Write("Bin", StoreValue{ValueType::Binary, bytes}));
  EXPECT_EQ(key->Read("Bin"), (StoreValue{ValueType::Binary, bytes}));
  EXPECT_EQ(GetRaw("Values", L"Bin").first, static_cast<DWORD>(REG_BINARY));
  ASSERT_TRUE(key->Write("Empty", StoreValue{ValueType::Binary, ""}));
  EXPECT_EQ(key->Read("Empty"), (StoreValue{ValueType::Binary, ""}));
  // A string read is nothing for a binary value.
  EXPECT_EQ(key->ReadString("Bin"), std::nullopt);
}

TEST_F(RegistryStoreTest, ValueNamesIgnoreCaseAndRemoveWorks) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  auto key = store.Open("Values", true);
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->WriteString("BtnApp1", "first"));
  EXPECT_EQ(key->ReadString("btnapp1"), "first");
  ASSERT_TRUE(key->WriteString("BTNAPP1", "second"));
  EXPECT_EQ(key->ReadString("BtnApp1"), "second");
  EXPECT_EQ(key->Names().size(), 1U);

  EXPECT_TRUE(key->Remove("btnAPP1"));
  EXPECT_EQ(key->Read("BtnApp1"), std::nullopt);
  EXPECT_FALSE(key->Remove("BtnApp1"));
  EXPECT_TRUE(key->Names().empty());
}

TEST_F(RegistryStoreTest, NamesListsEveryValueUpToTheLongestName) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  auto key = store.Open("Values", true);
  ASSERT_NE(key, nullptr);
  std::vector<std::string> expected = {"HideDesktop", "BtnApp1", "Nom \xC3\xA9t\xC3\xA9",
                                       std::string(300, 'n')};
  for (const auto& name : expected) ASSERT_TRUE(key->WriteString(name, "x")) << name;
  const std::wstring longest(16383, L'L');  // the registry's own limit
  ASSERT_EQ(::RegSetValueExW(Raw("Values").get(), longest.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(L""), 2),
            ERROR_SUCCESS);
  expected.push_back(std::string(16383, 'L'));
  auto names = key->Names();
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_TRUE(store.Open("Empty", true)->Names().empty());
}

TEST_F(RegistryStoreTest, OpenMakesKeysOnlyWhenAsked) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  EXPECT_EQ(store.Open("SoftWare\\Wendor\\Quaylite", false), nullptr);
  EXPECT_FALSE(Raw("SoftWare"));
  auto made = store.Open("SoftWare\\Wendor\\Quaylite", true);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(Raw("SoftWare\\Wendor"));
  EXPECT_NE(store.Open("software\\wendor\\QUAYLITE", false), nullptr);  // key names ignore case too
  EXPECT_EQ(store.basePath(), base_);
}

TEST_F(RegistryStoreTest, StrangeStringDataIsReadLikeTheSystemDoes) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  const wchar_t unterminated[] = {L'C', L't', L'r', L'l', L'+', L'Q'};
  SetRaw("Values", L"NoEnd", REG_SZ, unterminated, sizeof unterminated);
  const wchar_t embedded[] = L"ab\0cd";
  SetRaw("Values", L"Embedded", REG_SZ, embedded, sizeof embedded);
  const char odd[] = {'h', 0, 'i', 0, 'x'};  // a last half character
  SetRaw("Values", L"Odd", REG_SZ, odd, sizeof odd);
  const wchar_t expand[] = L"%WINDIR%\\x.bmp";
  SetRaw("Values", L"Expand", REG_EXPAND_SZ, expand, sizeof expand);
  SetRaw("Values", L"Nothing", REG_SZ, "", 0);
  const DWORD number = 48;
  SetRaw("Values", L"Number", REG_DWORD, &number, sizeof number);

  auto key = store.Open("Values", false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("NoEnd"), "Ctrl+Q");
  EXPECT_EQ(key->ReadString("Embedded"), "ab");
  EXPECT_EQ(key->ReadString("Odd"), "hi");
  EXPECT_EQ(key->ReadString("Expand"), "%WINDIR%\\x.bmp");  // as stored, not expanded
  EXPECT_EQ(key->ReadString("Nothing"), "");
  EXPECT_EQ(key->Read("Number"), (StoreValue{ValueType::Other, std::string("\x30\0\0\0", 4)}));
}

TEST_F(RegistryStoreTest, LargeValuesAreReadWhole) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  auto key = store.Open("Values", true);
  ASSERT_NE(key, nullptr);
  std::string huge;
  for (int i = 0; huge.size() < 3 * 1024 * 1024; ++i) huge += "chunk " + std::to_string(i) + " \xC3\xA9; ";
  ASSERT_TRUE(key->WriteString("Huge", huge));
  EXPECT_EQ(key->ReadString("Huge"), huge);
  const std::string bytes(1024 * 1024 + 3, '\x7F');
  ASSERT_TRUE(key->Write("HugeBin", StoreValue{ValueType::Binary, bytes}));
  EXPECT_EQ(key->Read("HugeBin")->data, bytes);
}

// Options written by hand with the wrong kind of value read as missing, never as garbage.
TEST_F(RegistryStoreTest, WrongValueTypesGiveTheDefaults) {
  const std::string dock = "SoftWare\\Wendor\\Quaylite";
  const DWORD taille = 64;
  SetRaw(dock, L"Taille", REG_DWORD, &taille, sizeof taille);
  SetRaw(dock, L"Couleur", REG_SZ, L"255", sizeof L"255");
  SetRaw(dock, L"PosTop", REG_BINARY, "\x10\0\0\0", 4);
  SetRaw(dock, L"Sens", REG_BINARY, "G", 1);
  const wchar_t multi[] = L"a.bmp\0b.bmp\0";
  SetRaw(dock, L"Fond", REG_MULTI_SZ, multi, sizeof multi);
  SetRaw(dock, L"Relief", REG_DWORD, &taille, sizeof taille);
  const wchar_t yes[] = {L'1'};  // without terminator: still "1"
  SetRaw(dock, L"ShowName", REG_SZ, yes, sizeof yes);
  std::wstring huge(1 << 20, L'9');
  SetRaw(dock, L"HotKey", REG_SZ, huge.c_str(), (huge.size() + 1) * sizeof(wchar_t));
  SetRaw(dock, L"exit", REG_DWORD, &taille, sizeof taille);

  RegistryStore store(HKEY_CURRENT_USER, base_);
  ql::TConfig cfg;
  EXPECT_TRUE(ql::LitConfig(store, cfg));
  EXPECT_EQ(cfg.Taille, 32);
  EXPECT_EQ(cfg.Couleur, 0xC0C0C0U);
  EXPECT_EQ(cfg.PosTop, 0);
  EXPECT_EQ(cfg.Sens, "D");
  EXPECT_EQ(cfg.Fond, "");
  EXPECT_TRUE(cfg.Relief);
  EXPECT_TRUE(cfg.ShowName);
  EXPECT_EQ(cfg.HotKey.size(), huge.size());

  SetRaw(dock, L"Couleur", REG_BINARY, "\x01\x02\x03", 3);
  ql::LitConfig(store, cfg);
  EXPECT_EQ(cfg.Couleur, 0xC0C0C0U);
  SetRaw(dock, L"Couleur", REG_BINARY, "\x01\x02\x03\x00", 4);
  ql::LitConfig(store, cfg);
  EXPECT_EQ(cfg.Couleur, 0x030201U);

  // Button entries of the wrong kind end the bar or read as empty.
  SetRaw(dock, L"BtnApp1", REG_SZ, L"notepad.exe", sizeof L"notepad.exe");
  SetRaw(dock, L"NomApp1", REG_DWORD, &taille, sizeof taille);
  SetRaw(dock, L"Icone1", REG_MULTI_SZ, multi, sizeof multi);
  SetRaw(dock, L"BtnApp2", REG_BINARY, "x", 1);
  SetRaw(dock, L"BtnApp3", REG_SZ, L"never read", sizeof L"never read");
  ql::ButtonList list;
  ql::LitBaseRegistre(store, list);
  ASSERT_EQ(list.MainBar().size(), 1U);
  EXPECT_EQ(list.First()->BtnApp, "notepad.exe");
  EXPECT_EQ(list.First()->NomApp, "");
  EXPECT_EQ(list.First()->IconPath, "");
}

TEST_F(RegistryStoreTest, TheDockKeyRoundTripsThroughTheRegistry) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  ql::TConfig cfg;
  cfg.Taille = 48;
  cfg.Sens = "H";
  cfg.Couleur = 0x4B2422;
  cfg.Fond = "C:\\Fonds\\\xC3\xA9t\xC3\xA9.bmp";
  cfg.HotKey = "Ctrl+L";
  cfg.ShowName = true;
  cfg.OnTop = false;
  cfg.Provider = true;
  cfg.MotDePasse = "Qu\xC3\xA4y";

  ql::ButtonList list;
  list.Append({"Bloc-notes", "notepad.exe|readme.txt", "C:\\a,b\\notepad.exe", "", 0});
  ql::TBouton& group = list.Append({"Outils", "C:\\Outils", "shell32.dll", "bois.bmp", 4});
  list.AppendMember(group, {"Calc", "calc.exe", "calc.exe", "", 0});
  list.AppendMember(group, {"R\xC3\xA9gedit", "regedit.exe", "regedit.exe", "m.bmp", 999});
  list.Append({"", "Clock Quaylite", "", "", 0});
  ql::EcritBaseRegistre(store, cfg, 120, list);
  ql::EcritVerrou(store, cfg);
  ql::EcritSortie(store, "0");

  const std::string dock = "SoftWare\\Wendor\\Quaylite";
  const auto [colourType, colour] = GetRaw(dock, L"Couleur");
  EXPECT_EQ(colourType, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(colour, (std::vector<BYTE>{0x22, 0x24, 0x4B, 0x00}));
  EXPECT_EQ(GetRaw(dock, L"BtnApp4").first, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(GetRaw("RemoteAccess\\Windows", L"Init").first, static_cast<DWORD>(REG_BINARY));

  ql::TConfig read;
  EXPECT_FALSE(ql::LitConfig(store, read));  // "exit" is "0"
  ql::TConfig expected = cfg;
  expected.PosTop = 120;
  EXPECT_EQ(read, expected);

  ql::ButtonList back;
  ql::LitBaseRegistre(store, back);
  back.RenumBtn(nullptr);
  ASSERT_EQ(back.NbBoutons(), 5);
  for (std::int32_t n = 1; n <= 5; ++n) {
    const ql::TBouton* a = list.FindPtr(n);
    const ql::TBouton* b = back.FindPtr(n);
    ASSERT_NE(b, nullptr) << n;
    EXPECT_EQ(b->BtnApp, a->BtnApp);
    EXPECT_EQ(b->NomApp, a->NomApp);
    EXPECT_EQ(b->IconPath, a->IconPath);
    EXPECT_EQ(b->IconIndex, a->IconIndex);
    EXPECT_EQ(b->Texture, a->Texture);
    EXPECT_EQ(b->NumBranche, a->NumBranche);
  }

  // Deleting the group rewrites the key with exactly the two buttons left, "exit" gone.
  back.DisposeBouton(back.FindPtr(2), true);
  ql::EcritBaseRegistre(store, read, 0, back);
  auto key = store.Open(dock, false);
  ASSERT_NE(key, nullptr);
  std::vector<std::string> names;
  for (const auto& n : key->Names()) names.push_back(ql::ToLowerAscii(n));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names.size(), 34U + 19U + 6U);  // options, task bar settings, two buttons
  for (const char* gone : {"exit", "btnapp3", "texture2", "btnapp5", "texture4"}) {
    EXPECT_FALSE(std::binary_search(names.begin(), names.end(), std::string(gone))) << gone;
  }
  EXPECT_EQ(key->ReadString("BtnApp2"), "Clock Quaylite");
  EXPECT_TRUE(ql::LitConfig(store, read));
}

// Older stores and other writers keep "Init" as a string of the system code page, one character
// per scrambled byte; the bytes 0x80 to 0x9F are where a Latin-1 reading went wrong.
TEST_F(RegistryStoreTest, InitStringsOfCodePage1252ReadBack) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the system code page is " << ::GetACP() << ", not 1252";
  std::mt19937 rng(77);
  std::vector<std::string> passwords = {"password"};
  for (int i = 0; i < 200; ++i) {
    std::string p(8, 'a');
    for (char& c : p) c = static_cast<char>('a' + rng() % 26);
    passwords.push_back(p);
  }
  RegistryStore store(HKEY_CURRENT_USER, base_);
  std::vector<std::string> wrong;
  for (const std::string& password : passwords) {
    const std::string scrambled = *ql::ScrambleText(password, ql::kPasswordKey);
    if (scrambled.find('\0') != std::string::npos) continue;  // no string can hold that one
    std::wstring text(scrambled.size(), L'\0');
    ASSERT_EQ(::MultiByteToWideChar(1252, 0, scrambled.data(), static_cast<int>(scrambled.size()),
                                    text.data(), static_cast<int>(text.size())),
              static_cast<int>(text.size()));
    SetRaw("RemoteAccess\\Windows", L"Init", REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ql::TConfig cfg;
    ql::LitConfig(store, cfg);
    if (cfg.MotDePasse != password) wrong.push_back(password);
  }
  EXPECT_EQ(wrong, std::vector<std::string>{}) << wrong.size() << " come back wrong";
}

TEST_F(RegistryStoreTest, CodePageBytesRefusesWhatTheCodePageLacks) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  EXPECT_EQ(store.CodePageBytes(""), "");
  EXPECT_EQ(store.CodePageBytes("a?b"), "a?b");  // a question mark of its own is no failure
  EXPECT_EQ(store.CodePageBytes("\xE6\x97\xA5\xE6\x9C\xAC"), std::nullopt);
  if (::GetACP() != 1252) GTEST_SKIP() << "the system code page is " << ::GetACP() << ", not 1252";
  EXPECT_EQ(store.CodePageBytes("\xE2\x82\xAC\xC3\xA9"), "\x80\xE9");
  EXPECT_EQ(store.CodePageBytes("\xC4\x80"), std::nullopt);  // best fit would make it "A"
}

TEST_F(RegistryStoreTest, DeleteKeyTakesEverythingBelowWithIt) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  auto deep = store.Open("Dock\\Journal\\Write", true);
  ASSERT_NE(deep, nullptr);
  ASSERT_TRUE(deep->WriteString("BtnApp1", "x"));
  ASSERT_TRUE(store.Open("Dock", false)->WriteString("Taille", "32"));
  ASSERT_TRUE(store.Open("Other", true));
  EXPECT_TRUE(store.DeleteKey("Dock\\Journal"));
  EXPECT_FALSE(Raw("Dock\\Journal"));
  EXPECT_EQ(store.Open("Dock", false)->ReadString("Taille"), "32");
  EXPECT_FALSE(deep->WriteString("BtnApp2", "y"));  // a key still open on it is dead
  EXPECT_TRUE(store.DeleteKey("Dock"));
  EXPECT_FALSE(Raw("Dock"));
  EXPECT_TRUE(store.DeleteKey("Dock"));  // already gone
  EXPECT_FALSE(store.DeleteKey(""));     // never the base key (or the whole hive)
  EXPECT_TRUE(Raw("Other"));
}

// A store whose changes stop dead at a chosen one, as a kill would stop the dock.
struct Killed : std::runtime_error {
  Killed() : std::runtime_error("killed") {}
};
class KillingStore final : public ql::KeyValueStore {
 public:
  KillingStore(ql::KeyValueStore& inner, int killAt) : inner_(inner), left_(killAt) {}
  std::unique_ptr<ql::StoreKey> Open(std::string_view path, bool create) override {
    auto key = inner_.Open(path, create);
    if (!key) return nullptr;
    return std::make_unique<Key>(std::move(key), *this);
  }
  bool DeleteKey(std::string_view path) override {
    Step();
    return inner_.DeleteKey(path);
  }
  std::optional<std::string> CodePageBytes(std::string_view text) const override {
    return inner_.CodePageBytes(text);
  }

 private:
  class Key final : public ql::StoreKey {
   public:
    Key(std::unique_ptr<ql::StoreKey> inner, KillingStore& store) : inner_(std::move(inner)), store_(store) {}
    std::optional<StoreValue> Read(std::string_view name) const override { return inner_->Read(name); }
    bool Write(std::string_view name, const StoreValue& value) override {
      store_.Step();
      return inner_->Write(name, value);
    }
    bool Remove(std::string_view name) override {
      store_.Step();
      return inner_->Remove(name);
    }
    std::vector<std::string> Names() const override { return inner_->Names(); }

   private:
    std::unique_ptr<ql::StoreKey> inner_;
    KillingStore& store_;
  };
  void Step() {
    if (left_-- == 0) throw Killed();
  }

  ql::KeyValueStore& inner_;
  int left_;
};

// A kill at every change of a rewrite, on the real registry: the next start reads the old bar
// or the new one, never a mixture.
TEST_F(RegistryStoreTest, AKilledRewriteReadsBackOldOrNew) {
  RegistryStore store(HKEY_CURRENT_USER, base_);
  auto write = [](ql::KeyValueStore& s, std::initializer_list<const char*> bar, const ql::TConfig& cfg) {
    ql::ButtonList list;
    for (const char* cmd : bar) {
      ql::TBouton& r = list.Append({std::string("Name ") + cmd, cmd, "shell32.dll", "", 3});
      if (cmd[0] == 'G') list.AppendMember(r, {"member", std::string(cmd) + ".txt", "", "", 0});
    }
    ql::EcritBaseRegistre(s, cfg, 0, list);
  };
  auto read = [&] {
    ql::RecoverStore(store);
    ql::TConfig cfg;
    ql::LitConfig(store, cfg);
    ql::ButtonList list;
    ql::LitBaseRegistre(store, list);
    std::string out = std::to_string(cfg.Taille);
    for (const ql::TBouton* r : list.MainBar()) {
      out += " " + r->BtnApp;
      for (const ql::TBouton* m : ql::ButtonList::Members(*r)) out += "[" + m->BtnApp + "]";
    }
    return out;
  };
  ql::TConfig big;
  big.Taille = 64;
  const std::string oldBar = "32 a G1[G1.txt] b c";
  const std::string newBar = "64 G1[G1.txt] b c d";
  bool finished = false;
  int kills = 0;
  for (int killAt = 0; !finished && killAt < 500; ++killAt) {
    write(store, {"a", "G1", "b", "c"}, ql::TConfig{});
    ASSERT_EQ(read(), oldBar);
    KillingStore killing(store, killAt);
    try {
      write(killing, {"G1", "b", "c", "d"}, big);
      finished = true;
    } catch (const Killed&) {
      ++kills;
    }
    const std::string got = read();
    EXPECT_TRUE(got == oldBar || got == newBar) << "killed at change " << killAt << ": " << got;
  }
  EXPECT_TRUE(finished);
  EXPECT_GT(kills, 10);
  // Nothing is left below the dock key.
  DWORD subkeys = 1;
  ASSERT_EQ(::RegQueryInfoKeyW(Raw("SoftWare\\Wendor\\Quaylite").get(), nullptr, nullptr, nullptr, &subkeys,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkeys, 0U);
}

}  // namespace
