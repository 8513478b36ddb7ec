#include "core/Qlx.h"

#include <array>
#include <map>
#include <optional>

#include "core/Text.h"

namespace ql {

namespace {

constexpr std::string_view kHeaderKey = "Quaylite";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kEndKey = "End";
constexpr std::string_view kButtonsKey = "Buttons";
constexpr std::string_view kEol = "\r\n";

// ---- value forms -------------------------------------------------------------------------------

struct BoolForm {
  static std::string Put(bool v) { return v ? "1" : "0"; }
  static std::optional<bool> Get(std::string_view v) {
    if (v == "1") return true;
    if (v == "0") return false;
    return std::nullopt;
  }
};

struct TextForm {
  static std::string Put(const std::string& v) { return v; }
  static std::optional<std::string> Get(std::string_view v) { return std::string(v); }
};

struct NumberForm {
  static std::string Put(std::int32_t v) { return Decimal(v); }
  static std::optional<std::int32_t> Get(std::string_view v) { return ParseDecimal(v); }
};

struct IconSizeForm : NumberForm {
  static std::optional<std::int32_t> Get(std::string_view v) {
    auto n = ParseDecimal(v);
    if (!n || *n <= 0 || *n > kMaxIconSize) return std::nullopt;
    return n;
  }
};

struct FontSizeForm {
  static std::string Put(std::uint8_t v) { return Decimal(v); }
  static std::optional<std::uint8_t> Get(std::string_view v) {
    auto n = ParseDecimal(v);
    if (!n || *n < 0 || *n > 255) return std::nullopt;
    return static_cast<std::uint8_t>(*n);
  }
};

// "R,G,B", red in the low byte of the value.
struct ColourForm {
  static std::string Put(std::uint32_t c) {
    return Decimal(c & 0xFFU) + "," + Decimal((c >> 8) & 0xFFU) + "," + Decimal((c >> 16) & 0xFFU);
  }
  static std::optional<std::uint32_t> Get(std::string_view v) {
    std::uint32_t c = 0;
    for (int i = 0; i < 3; ++i) {
      const std::size_t comma = v.find(',');
      if ((i < 2) != (comma != std::string_view::npos)) return std::nullopt;
      auto part = ParseDecimal(v.substr(0, comma));
      if (!part || *part < 0 || *part > 255) return std::nullopt;
      c |= static_cast<std::uint32_t>(*part) << (8 * i);
      v = i < 2 ? v.substr(comma + 1) : std::string_view{};
    }
    return c;
  }
};

// The bar colour: black cannot be kept (the store reads it back as the default).
struct BarColourForm : ColourForm {
  static std::optional<std::uint32_t> Get(std::string_view v) {
    auto c = ColourForm::Get(v);
    if (c && *c == 0) return std::nullopt;
    return c;
  }
};

struct SensForm : TextForm {
  static std::optional<std::string> Get(std::string_view v) {
    if (v == "G" || v == "D" || v == "H") return std::string(v);
    return std::nullopt;
  }
};

// Empty, or "Ctrl+" and one printable character.
struct HotKeyForm : TextForm {
  static std::optional<std::string> Get(std::string_view v) {
    if (v.empty()) return std::string();
    if (v.size() == 6 && v.substr(0, 5) == "Ctrl+" && v[5] > ' ' && v[5] < 0x7F) return std::string(v);
    return std::nullopt;
  }
};

// ---- the option table --------------------------------------------------------------------------

template <typename T>
T& Ref(TConfig& c, T TConfig::*m) {
  return c.*m;
}
template <typename T>
T& Ref(TConfig& c, T TConfigTask::*m) {
  return c.Task.*m;
}
template <typename T>
const T& Ref(const TConfig& c, T TConfig::*m) {
  return c.*m;
}
template <typename T>
const T& Ref(const TConfig& c, T TConfigTask::*m) {
  return c.Task.*m;
}

struct Field {
  std::string_view key;
  std::string (*get)(const TConfig&);
  void (*set)(TConfig&, std::string_view);  // a value that does not read leaves the setting
};

template <auto M, typename Form>
std::string GetField(const TConfig& c) {
  return Form::Put(Ref(c, M));
}
template <auto M, typename Form>
void SetField(TConfig& c, std::string_view v) {
  if (auto x = Form::Get(v)) Ref(c, M) = *x;
}
template <auto M, typename Form>
constexpr Field F(std::string_view key) {
  return Field{key, &GetField<M, Form>, &SetField<M, Form>};
}

// Every option of TConfig in its declared order, MotDePasse excepted, then the task bar's.
constexpr std::array kFields{
    F<&TConfig::Taille, IconSizeForm>("Taille"),
    F<&TConfig::PosTop, NumberForm>("PosTop"),
    F<&TConfig::Couleur, BarColourForm>("Couleur"),
    F<&TConfig::TaskBar, BoolForm>("TaskBar"),
    F<&TConfig::ShowDots, BoolForm>("ShowDots"),
    F<&TConfig::Fond, TextForm>("Fond"),
    F<&TConfig::ModeClock, BoolForm>("ModeClock"),
    F<&TConfig::KovaM, BoolForm>("KovaM"),
    F<&TConfig::cfdel, BoolForm>("cfdel"),
    F<&TConfig::HotKey, HotKeyForm>("HotKey"),
    F<&TConfig::ItMenSel, TextForm>("ItMenSel"),
    F<&TConfig::ItMenNorm, TextForm>("ItMenNorm"),
    F<&TConfig::OnTop, BoolForm>("OnTop"),
    F<&TConfig::Confirm, BoolForm>("Confirm"),
    F<&TConfig::ShowName, BoolForm>("ShowName"),
    F<&TConfig::HideDesktop, BoolForm>("HideDesktop"),
    F<&TConfig::Relief, BoolForm>("Relief"),
    F<&TConfig::RedimDesk, BoolForm>("RedimDesk"),
    F<&TConfig::Provider, BoolForm>("Provider"),
    F<&TConfig::StartLock, BoolForm>("StartLock"),
    F<&TConfig::SingleClick, BoolForm>("SingleClick"),
    F<&TConfig::Sens, SensForm>("Sens"),
    F<&TConfig::OpenW, TextForm>("OpenW"),
    F<&TConfig::CloseW, TextForm>("CloseW"),
    F<&TConfig::OpenWharf, TextForm>("OpenWharf"),
    F<&TConfig::CloseWharf, TextForm>("CloseWharf"),
    F<&TConfig::PlaySnd, BoolForm>("PlaySnd"),
    F<&TConfig::Poste, BoolForm>("Poste"),
    F<&TConfig::Net, BoolForm>("Net"),
    F<&TConfig::Conf, BoolForm>("Conf"),
    F<&TConfig::Desk, BoolForm>("Desk"),
    F<&TConfig::Perso, BoolForm>("Perso"),
    F<&TConfig::Impr, BoolForm>("Impr"),
    F<&TConfig::Start, BoolForm>("Start"),
    F<&TConfig::Format, BoolForm>("Format"),
    F<&TConfigTask::TextSelecFile, TextForm>("TaskTextSelecFile"),
    F<&TConfigTask::TextureFile, TextForm>("TaskTextureFile"),
    F<&TConfigTask::ColorOn, ColourForm>("TaskColorOn"),
    F<&TConfigTask::ColorOff, ColourForm>("TaskColorOff"),
    F<&TConfigTask::TColorOn, ColourForm>("TaskTColorOn"),
    F<&TConfigTask::TColorOff, ColourForm>("TaskTColorOff"),
    F<&TConfigTask::RColor, ColourForm>("TaskRColor"),
    F<&TConfigTask::RectLbl, BoolForm>("TaskRectLbl"),
    F<&TConfigTask::Border, BoolForm>("TaskBorder"),
    F<&TConfigTask::Shadow, BoolForm>("TaskShadow"),
    F<&TConfigTask::IconDock, BoolForm>("TaskIconDock"),
    F<&TConfigTask::BigIcon, BoolForm>("TaskBigIcon"),
    F<&TConfigTask::ShowTray, BoolForm>("TaskShowTray"),
    F<&TConfigTask::FontName, TextForm>("TaskFontName"),
    F<&TConfigTask::FontSize, FontSizeForm>("TaskFontSize"),
    F<&TConfigTask::FontColor, ColourForm>("TaskFontColor"),
    F<&TConfigTask::FontBold, BoolForm>("TaskFontBold"),
    F<&TConfigTask::FontItalic, BoolForm>("TaskFontItalic"),
    F<&TConfigTask::SmallStyle, BoolForm>("TaskSmallStyle"),
};

// ---- writing -----------------------------------------------------------------------------------

class Writer {
 public:
  void Entry(std::string_view key, std::string_view value) {
    out_ += '[';
    out_ += key;
    out_ += ']';
    out_ += kEol;
    // A value is one line: a line break inside one (which no dialog box can type) becomes a blank.
    for (const char c : value) out_ += (c == '\r' || c == '\n') ? ' ' : c;
    out_ += kEol;
    ++count_;
  }
  std::string Finish() {
    const std::size_t before = count_;
    Entry(kEndKey, Decimal(static_cast<std::int64_t>(before)));
    return std::move(out_);
  }

 private:
  std::string out_;
  std::size_t count_ = 0;
};

std::string ButtonKey(std::size_t n, std::string_view field) {
  return "Button" + Decimal(static_cast<std::int64_t>(n)) + "." + std::string(field);
}

// ---- reading -----------------------------------------------------------------------------------

bool ValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if ((c & 0xE0U) == 0xC0U) {
      len = 2;
      cp = c & 0x1FU;
    } else if ((c & 0xF0U) == 0xE0U) {
      len = 3;
      cp = c & 0x0FU;
    } else if ((c & 0xF8U) == 0xF0U) {
      len = 4;
      cp = c & 0x07U;
    } else {
      return false;
    }
    if (i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0U) != 0x80U) return false;
      cp = (cp << 6) | (d & 0x3FU);
    }
    constexpr std::array<std::uint32_t, 5> kMin{0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

bool BinaryByte(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
}

struct Lines {
  std::vector<std::string_view> lines;
  bool unended = false;  // the last line has no line feed
  bool badLine = false;  // a CR inside a line, or a line too long
};

Lines SplitLines(std::string_view text) {
  Lines out;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (lf == std::string_view::npos) {
      out.unended = true;
      text = {};
    } else {
      text.remove_prefix(lf + 1);
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\r') != std::string_view::npos || line.size() > kQlxMaxLine) out.badLine = true;
    out.lines.push_back(line);
  }
  return out;
}

std::optional<std::string_view> KeyOf(std::string_view line) {
  if (line.size() < 3 || line.front() != '[' || line.back() != ']') return std::nullopt;
  line = line.substr(1, line.size() - 2);
  if (line.find_first_of("[]") != std::string_view::npos) return std::nullopt;
  return line;
}

using Entries = std::map<std::string, std::string_view, std::less<>>;

std::optional<std::string_view> Find(const Entries& entries, std::string_view key) {
  auto it = entries.find(key);
  if (it == entries.end()) return std::nullopt;
  return it->second;
}

QlxError ReadButtons(const Entries& entries, std::optional<std::vector<QlxButton>>& out) {
  auto countText = Find(entries, kButtonsKey);
  if (!countText) return QlxError::None;
  auto count = ParseDecimal(*countText);
  if (!count || *count < 0 || *count > kQlxMaxButtons) return QlxError::BadButtons;
  std::vector<QlxButton> buttons;
  buttons.reserve(static_cast<std::size_t>(*count));
  for (std::size_t n = 1; n <= static_cast<std::size_t>(*count); ++n) {
    QlxButton b;
    auto command = Find(entries, ButtonKey(n, "Command"));
    if (!command || command->empty()) return QlxError::BadButtons;
    b.data.BtnApp = std::string(*command);
    b.data.NomApp = std::string(Find(entries, ButtonKey(n, "Name")).value_or(""));
    b.data.IconPath = std::string(Find(entries, ButtonKey(n, "Icon")).value_or(""));
    b.data.Texture = std::string(Find(entries, ButtonKey(n, "Texture")).value_or(""));
    b.data.IconIndex = ParseDecimal(Find(entries, ButtonKey(n, "IconIndex")).value_or("0")).value_or(0);
    if (auto group = Find(entries, ButtonKey(n, "Group"))) {
      auto g = ParseDecimal(*group);
      if (!g || *g < 0 || static_cast<std::size_t>(*g) >= n) return QlxError::BadButtons;
      if (*g > 0 && buttons[static_cast<std::size_t>(*g) - 1].group != 0) return QlxError::BadButtons;
      b.group = *g;
    }
    buttons.push_back(std::move(b));
  }
  out = std::move(buttons);
  return QlxError::None;
}

}  // namespace

std::string WriteBoolIni(std::string_view key, bool value) {
  std::string out;
  out += '[';
  out += key;
  out += ']';
  out += kEol;
  out += value ? '1' : '0';
  out += kEol;
  return out;
}

std::string WriteQlx(const TConfig& cfg, const ButtonList& list) {
  Writer w;
  w.Entry(kHeaderKey, kVersion);
  for (const Field& f : kFields) w.Entry(f.key, f.get(cfg));

  // The numbering of the store: main bar first, then each group's members.
  const std::vector<TBouton*> bar = list.MainBar();
  std::vector<std::pair<const TBouton*, std::size_t>> all;  // record, group's place (0: bar)
  all.reserve(static_cast<std::size_t>(list.NbBoutons()) + bar.size());
  for (const TBouton* r : bar) all.emplace_back(r, 0);
  for (std::size_t i = 0; i < bar.size(); ++i) {
    for (const TBouton* m : ButtonList::Members(*bar[i])) all.emplace_back(m, i + 1);
  }
  w.Entry(kButtonsKey, Decimal(static_cast<std::int64_t>(all.size())));
  for (std::size_t n = 1; n <= all.size(); ++n) {
    const auto& [r, group] = all[n - 1];
    w.Entry(ButtonKey(n, "Name"), r->NomApp);
    w.Entry(ButtonKey(n, "Command"), r->BtnApp);
    w.Entry(ButtonKey(n, "Icon"), r->IconPath);
    w.Entry(ButtonKey(n, "IconIndex"), Decimal(r->IconIndex));
    w.Entry(ButtonKey(n, "Texture"), r->Texture);
    w.Entry(ButtonKey(n, "Group"), Decimal(static_cast<std::int64_t>(group)));
  }
  return w.Finish();
}

std::string_view QlxErrorText(QlxError error) {
  switch (error) {
    case QlxError::None:
      return "";
    case QlxError::Missing:
      return "the file cannot be read";
    case QlxError::Empty:
      return "the file is empty";
    case QlxError::TooLarge:
      return "the file is too large";
    case QlxError::Binary:
      return "the file is not a text file";
    case QlxError::Truncated:
      return "the file is incomplete";
    case QlxError::Malformed:
      return "the file is damaged";
    case QlxError::NotQlx:
      return "the file is not a Quaylite configuration";
    case QlxError::Duplicate:
      return "the file gives a setting twice";
    case QlxError::BadButtons:
      return "the file's buttons are damaged";
  }
  return "the file is damaged";
}

QlxRead ReadQlx(std::string_view bytes, const TConfig& current) {
  QlxRead result;
  auto fail = [&result](QlxError e) {
    result.error = e;
    return result;
  };
  if (bytes.empty()) return fail(QlxError::Empty);
  if (bytes.size() > kQlxMaxBytes) return fail(QlxError::TooLarge);
  for (const char c : bytes) {
    if (BinaryByte(c)) return fail(QlxError::Binary);
  }
  if (!ValidUtf8(bytes)) return fail(QlxError::Binary);

  const Lines split = SplitLines(bytes);
  const std::vector<std::string_view>& lines = split.lines;
  if (lines.empty() || KeyOf(lines[0]) != kHeaderKey) return fail(QlxError::NotQlx);
  if (split.unended || lines.size() % 2 != 0) return fail(QlxError::Truncated);
  if (lines[1] != kVersion) return fail(QlxError::NotQlx);
  if (split.badLine) return fail(QlxError::Malformed);

  Entries entries;
  const std::size_t count = lines.size() / 2;
  for (std::size_t i = 1; i < count; ++i) {
    auto key = KeyOf(lines[2 * i]);
    if (!key) return fail(QlxError::Malformed);
    if (*key == kHeaderKey || entries.contains(*key)) return fail(QlxError::Duplicate);
    if (*key == kEndKey && i + 1 != count) return fail(QlxError::Malformed);
    entries.emplace(std::string(*key), lines[2 * i + 1]);
  }
  auto end = Find(entries, kEndKey);
  if (!end) return fail(QlxError::Truncated);
  if (ParseDecimal(*end) != static_cast<std::int32_t>(count - 1)) return fail(QlxError::Malformed);

  QlxImport import;
  if (const QlxError e = ReadButtons(entries, import.buttons); e != QlxError::None) return fail(e);
  import.cfg = current;
  for (const Field& f : kFields) {
    if (auto v = Find(entries, f.key)) f.set(import.cfg, *v);
  }
  import.cfg.MotDePasse = current.MotDePasse;
  result.import = std::move(import);
  return result;
}

void ApplyQlx(const QlxImport& import, TConfig& live, ButtonList& list) {
  std::string password = live.MotDePasse;
  live = import.cfg;
  live.MotDePasse = std::move(password);
  if (!import.buttons) return;
  list.DisposeAllPtr();
  std::vector<TBouton*> placed(import.buttons->size(), nullptr);
  for (std::size_t i = 0; i < import.buttons->size(); ++i) {
    const QlxButton& b = (*import.buttons)[i];
    if (b.group == 0) placed[i] = &list.Append(b.data);
  }
  for (std::size_t i = 0; i < import.buttons->size(); ++i) {
    const QlxButton& b = (*import.buttons)[i];
    if (b.group != 0) placed[i] = &list.AppendMember(*placed[static_cast<std::size_t>(b.group) - 1], b.data);
  }
  list.RenumBtn(nullptr);
}

QlxError ImportQlx(std::string_view bytes, TConfig& live, ButtonList& list) {
  QlxRead read = ReadQlx(bytes, live);
  if (read.error == QlxError::None) ApplyQlx(read.import, live, list);
  return read.error;
}

std::string WithQlxExtension(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of("\\/:");
  const std::string_view last = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  std::string out(fileName);
  if (!last.empty() && last.find('.') == std::string_view::npos) out += kQlxExtension;
  return out;
}

}  // namespace ql
