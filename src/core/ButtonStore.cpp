#include "core/ButtonStore.h"

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

// Forwards to a key and remembers the names written, so that everything else can be removed
// once the new contents are complete.
class RecordingKey final : public StoreKey {
 public:
  explicit RecordingKey(StoreKey& inner) : inner_(inner) {}
  std::optional<StoreValue> Read(std::string_view name) const override { return inner_.Read(name); }
  bool Write(std::string_view name, const StoreValue& value) override {
    written_.insert(ToLowerAscii(name));
    return inner_.Write(name, value);
  }
  bool Remove(std::string_view name) override { return inner_.Remove(name); }
  std::vector<std::string> Names() const override { return inner_.Names(); }
  bool WasWritten(std::string_view name) const { return written_.contains(ToLowerAscii(name)); }

 private:
  StoreKey& inner_;
  std::set<std::string> written_;
};

}  // namespace

void WriteButtonEntry(StoreKey& key, const TBouton& record) {
  const std::int32_t n = record.Numero;
  std::string btnApp = record.BtnApp;
  if (record.NumBranche != 0) {
    btnApp += kMemberMark;
    btnApp += Decimal(record.NumBranche);
    btnApp += '-';
  }
  key.WriteString(EntryName("BtnApp", n), btnApp);
  key.WriteString(EntryName("NomApp", n), record.NomApp);
  key.WriteString(EntryName("Icone", n), record.IconPath + "," + Decimal(record.IconIndex));
  if (!record.Texture.empty()) key.WriteString(EntryName("Texture", n), record.Texture);
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
  struct Entry {
    std::int32_t n;
    std::string btnApp;
  };
  std::vector<Entry> entries;
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
  for (auto& e : entries) {
    if (ParseMemberSuffix(e.btnApp)) continue;
    list.Append(dataOf(e.n, e.btnApp)).Numero = e.n;
  }
  for (auto& e : entries) {
    auto member = ParseMemberSuffix(e.btnApp);
    if (!member) continue;
    TBouton* group = nullptr;
    for (TBouton* r : list.MainBar()) {
      if (r->Numero == member->group) {
        group = r;
        break;
      }
    }
    if (group == nullptr) continue;  // its group is gone: dropped
    list.AppendMember(*group, dataOf(e.n, std::move(member->btnApp))).Numero = e.n;
  }
}

void EcritBaseRegistre(KeyValueStore& store, const TConfig& cfg, std::int32_t posTop, ButtonList& list) {
  auto key = store.Open(kDockKey, true);
  if (!key) {
    list.RenumBtn(nullptr);
    return;
  }
  RecordingKey recording(*key);
  WriteOptions(recording, cfg, posTop);
  list.RenumBtn(&recording);
  for (const std::string& name : key->Names()) {
    if (!recording.WasWritten(name)) key->Remove(name);
  }
}

}  // namespace ql
