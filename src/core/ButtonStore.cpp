#include "core/ButtonStore.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/ConfigStore.h"
#include "core/Text.h"

namespace ql {

namespace {

constexpr std::string_view kMemberMark = ",BtnApp";

std::string EntryName(std::string_view prefix, std::int32_t n) {
  std::string name(prefix);
  name += Decimal(n);
  return name;
}

// One button entry as it is stored, apart from its number and the number of its group.
struct Entry {
  std::string command;  // BtnApp without the member suffix
  std::string nomApp;
  std::string icone;       // "path,index"
  std::string texture;     // empty: no "Texture" value
  std::int32_t group = 0;  // entry number of the group a member belongs to; 0 on the main bar
};

Entry EntryOf(const TBouton& record) {
  return Entry{record.BtnApp, record.NomApp, record.IconPath + "," + Decimal(record.IconIndex),
               record.Texture, record.NumBranche};
}

std::string StoredBtnApp(const Entry& e, std::int32_t group) {
  if (group == 0) return e.command;
  std::string value = e.command;
  value += kMemberMark;
  value += Decimal(group);
  value += '-';
  return value;
}

// "BtnApp"+N last: a new entry only becomes readable once the rest of it is in place.
void WriteEntry(StoreKey& key, std::int32_t n, const Entry& e, std::int32_t group) {
  key.WriteString(EntryName("NomApp", n), e.nomApp);
  key.WriteString(EntryName("Icone", n), e.icone);
  if (e.texture.empty()) {
    key.Remove(EntryName("Texture", n));
  } else {
    key.WriteString(EntryName("Texture", n), e.texture);
  }
  key.WriteString(EntryName("BtnApp", n), StoredBtnApp(e, group));
}

// Whether entry n already holds exactly these values.
bool Holds(const StoreKey& key, std::int32_t n, const Entry& e) {
  if (key.ReadString(EntryName("BtnApp", n)) != StoredBtnApp(e, e.group)) return false;
  if (key.ReadString(EntryName("NomApp", n)) != e.nomApp) return false;
  if (key.ReadString(EntryName("Icone", n)) != e.icone) return false;
  if (e.texture.empty()) return !key.Read(EntryName("Texture", n)).has_value();
  return key.ReadString(EntryName("Texture", n)) == e.texture;
}

// Forwards to a key, writing only values that differ from what is stored (a rewrite after a
// small change then touches little), and remembers the names written.
class UpdatingKey final : public StoreKey {
 public:
  explicit UpdatingKey(StoreKey& inner) : inner_(inner) {}
  std::optional<StoreValue> Read(std::string_view name) const override { return inner_.Read(name); }
  bool Write(std::string_view name, const StoreValue& value) override {
    written_.insert(ToLowerAscii(name));
    if (inner_.Read(name) == value) return true;
    return inner_.Write(name, value);
  }
  bool Remove(std::string_view name) override { return inner_.Remove(name); }
  std::vector<std::string> Names() const override { return inner_.Names(); }
  const std::set<std::string>& written() const { return written_; }

 private:
  StoreKey& inner_;
  std::set<std::string> written_;  // lower-cased
};

}  // namespace

void WriteButtonEntry(StoreKey& key, const TBouton& record) {
  WriteEntry(key, record.Numero, EntryOf(record), record.NumBranche);
}

std::optional<MemberRef> ParseMemberSuffix(std::string_view value) {
  if (value.empty() || value.back() != '-') return std::nullopt;
  std::size_t digitsEnd = value.size() - 1;
  std::size_t digitsBegin = digitsEnd;
  while (digitsBegin > 0 && value[digitsBegin - 1] >= '0' && value[digitsBegin - 1] <= '9') {
    --digitsBegin;
  }
  if (digitsBegin == digitsEnd || digitsBegin < kMemberMark.size()) return std::nullopt;
  if (value.substr(digitsBegin - kMemberMark.size(), kMemberMark.size()) != kMemberMark) {
    return std::nullopt;
  }
  auto group = ParseDecimal(value.substr(digitsBegin, digitsEnd - digitsBegin));
  if (!group) return std::nullopt;
  return MemberRef{std::string(value.substr(0, digitsBegin - kMemberMark.size())), *group};
}

IconRef ParseIcone(std::string_view value) {
  auto comma = value.rfind(',');
  if (comma == std::string_view::npos) return IconRef{std::string(value), 0};
  return IconRef{std::string(value.substr(0, comma)), ParseDecimal(value.substr(comma + 1)).value_or(0)};
}

void LitBaseRegistre(KeyValueStore& store, ButtonList& list) {
  auto key = store.Open(kDockKey, false);
  if (!key) return;
  struct Found {
    std::int32_t n;
    std::string btnApp;
  };
  std::vector<Found> entries;
  for (std::int32_t n = 1;; ++n) {
    auto btnApp = key->ReadString(EntryName("BtnApp", n));
    if (!btnApp || btnApp->empty()) break;
    entries.push_back({n, std::move(*btnApp)});
  }
  auto dataOf = [&](std::int32_t n, std::string btnApp) {
    IconRef icon = ParseIcone(key->ReadString(EntryName("Icone", n)).value_or(""));
    return ButtonData{key->ReadString(EntryName("NomApp", n)).value_or(""), std::move(btnApp),
                      std::move(icon.path), key->ReadString(EntryName("Texture", n)).value_or(""),
                      icon.index};
  };
  std::map<std::int32_t, TBouton*> mainBar;  // by entry number, for the members' second pass
  for (auto& e : entries) {
    if (ParseMemberSuffix(e.btnApp)) continue;
    TBouton& record = list.Append(dataOf(e.n, e.btnApp));
    record.Numero = e.n;
    mainBar.emplace(e.n, &record);
  }
  for (auto& e : entries) {
    auto member = ParseMemberSuffix(e.btnApp);
    if (!member) continue;
    auto group = mainBar.find(member->group);
    if (group == mainBar.end()) continue;  // its group is gone: dropped
    list.AppendMember(*group->second, dataOf(e.n, std::move(member->btnApp))).Numero = e.n;
  }
}

void EcritBaseRegistre(KeyValueStore& store, const TConfig& cfg, std::int32_t posTop, ButtonList& list) {
  list.RenumBtn(nullptr);
  auto key = store.Open(kDockKey, true);
  if (!key) return;

  // The new entries 1..n, in the numbering RenumBtn just gave.
  std::vector<Entry> finals;
  for (TBouton* r = list.First(); r != nullptr; r = r->Suivant.get()) finals.push_back(EntryOf(*r));
  for (TBouton* r = list.First(); r != nullptr; r = r->Suivant.get()) {
    for (TBouton* m = r->Branche.get(); m != nullptr; m = m->Branche.get()) finals.push_back(EntryOf(*m));
  }
  const auto n = static_cast<std::int32_t>(finals.size());
  auto entry = [&](std::int32_t p) -> const Entry& { return finals[static_cast<std::size_t>(p - 1)]; };

  UpdatingKey update(*key);
  WriteOptions(update, cfg, posTop);
  // The key ends holding the options and entries 1..n; everything else goes at the end.
  std::set<std::string> wanted = update.written();
  for (std::int32_t p = 1; p <= n; ++p) {
    for (std::string_view prefix : {"BtnApp", "NomApp", "Icone"}) {
      wanted.insert(ToLowerAscii(EntryName(prefix, p)));
    }
    if (!entry(p).texture.empty()) wanted.insert(ToLowerAscii(EntryName("Texture", p)));
  }

  // k: the entries readable now; d: the first entry that changes.
  std::int32_t k = 0;
  for (;;) {
    auto btnApp = key->ReadString(EntryName("BtnApp", k + 1));
    if (!btnApp || btnApp->empty()) break;
    ++k;
  }
  std::int32_t d = 1;
  while (d <= n && Holds(*key, d, entry(d))) ++d;

  if (d <= std::min(k, n)) {
    // Entries d.. are readable buttons that are about to be overwritten. First the new entries
    // beyond the readable ones, then a copy of every changed new entry after all that, with its
    // members pointing at the copied groups; only then are the old entries overwritten. Until
    // the copy is complete every old entry is intact; from then on every new button reads back
    // from the copy or from its own entry.
    for (std::int32_t p = k + 1; p <= n; ++p) WriteEntry(update, p, entry(p), entry(p).group);
    const std::int32_t base = std::max(k, n) - d + 1;  // entry p is copied to base + p
    for (std::int32_t p = d; p <= n; ++p) {
      const std::int32_t group = entry(p).group;
      WriteEntry(update, base + p, entry(p), group >= d ? base + group : group);
    }
    for (std::int32_t p = d; p <= std::min(k, n); ++p) WriteEntry(update, p, entry(p), entry(p).group);
  } else {
    // Only entries beyond the readable ones change: written in order, groups before members.
    for (std::int32_t p = d; p <= n; ++p) WriteEntry(update, p, entry(p), entry(p).group);
  }

  for (const std::string& name : key->Names()) {
    if (!wanted.contains(ToLowerAscii(name))) key->Remove(name);
  }
}

}  // namespace ql
