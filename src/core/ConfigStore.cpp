#include "core/ConfigStore.h"

#include <array>
#include <memory>

#include "core/CodePage.h"
#include "core/Scramble.h"
#include "core/Text.h"

namespace ql {

namespace {

// Exactly "1" is true; a missing or empty value takes the default; anything else is false.
bool ReadBool(const StoreKey& key, std::string_view name, bool fallback) {
  auto text = key.ReadString(name);
  if (!text || text->empty()) return fallback;
  return *text == "1";
}

std::string ReadText(const StoreKey& key, std::string_view name, std::string_view fallback) {
  auto text = key.ReadString(name);
  if (!text || text->empty()) return std::string(fallback);
  return *text;
}

std::int32_t ReadNumber(const StoreKey& key, std::string_view name, std::int32_t fallback) {
  auto text = key.ReadString(name);
  if (!text) return fallback;
  return ParseDecimal(*text).value_or(fallback);
}

// "Init" as a string holds one character of the system code page per scrambled byte, as older
// stores and other writers keep it. A text with a character that code page lacks cannot come
// from such a writer; when all its characters are below 256 it is read as their numbers.
std::optional<std::string> ScrambledBytesOf(const KeyValueStore& store, std::string_view text) {
  if (auto bytes = store.CodePageBytes(text)) return bytes;
  return Utf8ToLatin1(text);
}

const char* Flag(bool b) { return b ? "1" : "0"; }

// A colour where black is a colour like any other: a 4-byte binary value, red in the low byte.
std::uint32_t ReadAnyColour(const StoreKey& key, std::string_view name, std::uint32_t fallback) {
  auto value = key.Read(name);
  if (!value || value->type != ValueType::Binary || value->data.size() != 4) return fallback;
  std::uint32_t c = 0;
  for (int i = 3; i >= 0; --i) {
    c = (c << 8) | static_cast<std::uint8_t>(value->data[static_cast<std::size_t>(i)]);
  }
  return c;
}

void WriteColour(StoreKey& key, std::string_view name, std::uint32_t c) {
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((c >> (8 * i)) & 0xFFU);
  key.Write(name, StoreValue{ValueType::Binary, bytes});
}

// The task bar's settings: value names "Task" and the field's name.
struct TaskFields {
  std::array<std::pair<const char*, std::string TConfigTask::*>, 3> texts{
      {{"TaskTextSelecFile", &TConfigTask::TextSelecFile},
       {"TaskTextureFile", &TConfigTask::TextureFile},
       {"TaskFontName", &TConfigTask::FontName}}};
  std::array<std::pair<const char*, std::uint32_t TConfigTask::*>, 6> colours{
      {{"TaskColorOn", &TConfigTask::ColorOn},
       {"TaskColorOff", &TConfigTask::ColorOff},
       {"TaskTColorOn", &TConfigTask::TColorOn},
       {"TaskTColorOff", &TConfigTask::TColorOff},
       {"TaskRColor", &TConfigTask::RColor},
       {"TaskFontColor", &TConfigTask::FontColor}}};
  std::array<std::pair<const char*, bool TConfigTask::*>, 9> flags{
      {{"TaskRectLbl", &TConfigTask::RectLbl},
       {"TaskBorder", &TConfigTask::Border},
       {"TaskShadow", &TConfigTask::Shadow},
       {"TaskIconDock", &TConfigTask::IconDock},
       {"TaskBigIcon", &TConfigTask::BigIcon},
       {"TaskShowTray", &TConfigTask::ShowTray},
       {"TaskFontBold", &TConfigTask::FontBold},
       {"TaskFontItalic", &TConfigTask::FontItalic},
       {"TaskSmallStyle", &TConfigTask::SmallStyle}}};
};

void ReadTaskOptions(const StoreKey& key, TConfigTask& task) {
  const TaskFields fields;
  const TConfigTask defaults;
  for (const auto& [name, field] : fields.texts) task.*field = ReadText(key, name, defaults.*field);
  for (const auto& [name, field] : fields.colours) task.*field = ReadAnyColour(key, name, defaults.*field);
  for (const auto& [name, field] : fields.flags) task.*field = ReadBool(key, name, defaults.*field);
  const std::int32_t size = ReadNumber(key, "TaskFontSize", defaults.FontSize);
  task.FontSize = size >= 0 && size <= 255 ? static_cast<std::uint8_t>(size) : defaults.FontSize;
}

void WriteTaskOptions(StoreKey& key, const TConfigTask& task) {
  const TaskFields fields;
  for (const auto& [name, field] : fields.texts) key.WriteString(name, task.*field);
  for (const auto& [name, field] : fields.colours) WriteColour(key, name, task.*field);
  for (const auto& [name, field] : fields.flags) key.WriteString(name, Flag(task.*field));
  key.WriteString("TaskFontSize", Decimal(task.FontSize));
}

}  // namespace

bool LitConfig(KeyValueStore& store, TConfig& cfg) {
  TConfig fresh;
  fresh.Provider = cfg.Provider;
  fresh.MotDePasse = cfg.MotDePasse;
  bool sortieNormale = true;
  if (auto key = store.Open(kDockKey, false)) {
    const StoreKey& k = *key;
    fresh.HideDesktop = ReadBool(k, "HideDesktop", false);
    fresh.ShowName = ReadBool(k, "ShowName", false);
    fresh.Poste = ReadBool(k, "Poste", false);
    fresh.Net = ReadBool(k, "Net", false);
    fresh.Conf = ReadBool(k, "Conf", false);
    fresh.Desk = ReadBool(k, "Desk", false);
    fresh.Perso = ReadBool(k, "Perso", false);
    fresh.Impr = ReadBool(k, "Impr", false);
    fresh.Start = ReadBool(k, "Start", false);
    fresh.Format = ReadBool(k, "Format", false);
    fresh.Confirm = ReadBool(k, "Confirm", false);
    fresh.RedimDesk = ReadBool(k, "RedimDesk", false);
    fresh.PlaySnd = ReadBool(k, "PlaySnd", false);
    fresh.OpenW = ReadText(k, "OpenW", "");
    fresh.CloseW = ReadText(k, "CloseW", "");
    fresh.OpenWharf = ReadText(k, "OpenWharf", "");
    fresh.CloseWharf = ReadText(k, "CloseWharf", "");
    fresh.StartLock = ReadBool(k, "StartLock", false);
    fresh.ShowDots = ReadBool(k, "ShowDots", false);
    fresh.ModeClock = ReadBool(k, "ModeClock", false);
    fresh.HotKey = ReadText(k, "HotKey", "");
    fresh.KovaM = ReadBool(k, "KovaM", false);
    fresh.ItMenNorm = ReadText(k, "ItMenNorm", "");
    fresh.ItMenSel = ReadText(k, "ItMenSel", "");
    sortieNormale = k.ReadString("exit").value_or("") != "0";
    fresh.Relief = ReadBool(k, "Relief", true);
    fresh.cfdel = ReadBool(k, "cfdel", true);
    fresh.OnTop = ReadBool(k, "OnTop", true);
    fresh.SingleClick = ReadBool(k, "SingleClick", false);
    // A black bar colour reads as the default silver.
    fresh.Couleur = ReadAnyColour(k, "Couleur", kDefaultColour);
    if (fresh.Couleur == 0) fresh.Couleur = kDefaultColour;
    fresh.Fond = ReadText(k, "Fond", "");
    fresh.PosTop = ReadNumber(k, "PosTop", 0);
    fresh.Sens = ReadText(k, "Sens", "D");
    fresh.Taille = ReadNumber(k, "Taille", 32);
    // No tile can be drawn at a size of 0 or less, and a size in the thousands would make a bar
    // wider than any screen: such a value counts as missing.
    if (fresh.Taille <= 0 || fresh.Taille > kMaxIconSize) fresh.Taille = 32;
    fresh.TaskBar = ReadBool(k, "TaskBar", false);
    ReadTaskOptions(k, fresh.Task);
  }
  if (auto lock = store.Open(kLockKey, false)) {
    fresh.Provider = lock->ReadString("Provider").value_or("") == "1";
    if (auto init = lock->Read("Init")) {
      std::optional<std::string> scrambled;
      if (init->type == ValueType::Binary) {
        scrambled = init->data;
      } else if (init->type == ValueType::String) {
        scrambled = ScrambledBytesOf(store, init->data);
      }
      // An "Init" that cannot be read gives the default empty password rather than a garbled
      // one nobody could type.
      fresh.MotDePasse = UnscrambleText(scrambled.value_or(""), kPasswordKey).value_or("");
    }
  }
  cfg = std::move(fresh);
  return sortieNormale;
}

void WriteOptions(StoreKey& key, const TConfig& cfg, std::int32_t posTop) {
  key.WriteString("HideDesktop", Flag(cfg.HideDesktop));
  key.WriteString("Relief", Flag(cfg.Relief));
  key.WriteString("Confirm", Flag(cfg.Confirm));
  key.WriteString("ShowName", Flag(cfg.ShowName));
  key.WriteString("RedimDesk", Flag(cfg.RedimDesk));
  key.WriteString("OnTop", Flag(cfg.OnTop));
  key.WriteString("Taille", Decimal(cfg.Taille));
  key.WriteString("PosTop", Decimal(posTop));
  key.WriteString("Sens", cfg.Sens);
  key.WriteString("Fond", cfg.Fond);
  key.WriteString("ItMenNorm", cfg.ItMenNorm);
  key.WriteString("ItMenSel", cfg.ItMenSel);
  WriteColour(key, "Couleur", cfg.Couleur);
  const std::array<std::pair<const char*, bool>, 10> menu{{{"Poste", cfg.Poste},
                                                           {"Net", cfg.Net},
                                                           {"Conf", cfg.Conf},
                                                           {"Desk", cfg.Desk},
                                                           {"Perso", cfg.Perso},
                                                           {"Impr", cfg.Impr},
                                                           {"Start", cfg.Start},
                                                           {"Format", cfg.Format},
                                                           {"PlaySnd", cfg.PlaySnd},
                                                           {"StartLock", cfg.StartLock}}};
  for (const auto& [name, on] : menu) key.WriteString(name, Flag(on));
  key.WriteString("OpenW", cfg.OpenW);
  key.WriteString("CloseW", cfg.CloseW);
  key.WriteString("OpenWharf", cfg.OpenWharf);
  key.WriteString("CloseWharf", cfg.CloseWharf);
  key.WriteString("ModeClock", Flag(cfg.ModeClock));
  key.WriteString("ShowDots", Flag(cfg.ShowDots));
  key.WriteString("SingleClick", Flag(cfg.SingleClick));
  key.WriteString("KovaM", Flag(cfg.KovaM));
  key.WriteString("cfdel", Flag(cfg.cfdel));
  key.WriteString("TaskBar", Flag(cfg.TaskBar));
  key.WriteString("HotKey", cfg.HotKey);
  WriteTaskOptions(key, cfg.Task);
}

void EcritVerrou(KeyValueStore& store, const TConfig& cfg) {
  auto key = store.Open(kLockKey, true);
  if (!key) return;
  if (auto scrambled = ScrambleText(cfg.MotDePasse, kPasswordKey)) {
    key->Write("Init", StoreValue{ValueType::Binary, *scrambled});
  }
  key->WriteString("Provider", Flag(cfg.Provider));
}

void EcritSortie(KeyValueStore& store, std::string_view value) {
  if (auto key = store.Open(kDockKey, true)) key->WriteString("exit", value);
}

}  // namespace ql
