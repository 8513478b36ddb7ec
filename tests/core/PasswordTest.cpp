// The password dialog's rules and the keys the lock swallows.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/LockKeys.h"
#include "core/Password.h"

namespace {

using ql::CheckPassword;
using ql::PasswordVerdict;

struct PasswordCase {
  const char* what;
  const char* stored;
  const char* passwd;
  const char* newPasswd;
  const char* confirmPasswd;
  PasswordVerdict verdict;
  std::optional<std::string> newPassword;  // what is stored when accepted
};

TEST(CheckPassword, AnswersTheDialogsThreeFields) {
  const std::vector<PasswordCase> cases = {
      {"empty default, all fields empty", "", "", "", "", PasswordVerdict::Accepted, std::nullopt},
      {"empty default, something typed", "", "x", "", "", PasswordVerdict::Invalid, std::nullopt},
      {"right password", "Secret", "Secret", "", "", PasswordVerdict::Accepted, std::nullopt},
      {"other letter case", "Secret", "sECRET", "", "", PasswordVerdict::Accepted, std::nullopt},
      {"Latin-1 letters in other case", "\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", "", "",
       PasswordVerdict::Accepted, std::nullopt},
      {"the multiplication sign is no capital", "\xC3\xB7", "\xC3\x97", "", "", PasswordVerdict::Invalid,
       std::nullopt},
      {"a prefix is wrong", "Secret", "Secre", "", "", PasswordVerdict::Invalid, std::nullopt},
      {"wrong password", "Secret", "Guess", "", "", PasswordVerdict::Invalid, std::nullopt},
      {"change accepted", "Secret", "secret", "NewOne", "NewOne", PasswordVerdict::Accepted, "NewOne"},
      {"stored as typed in the new field", "old", "old", "MiXeD", "mixed", PasswordVerdict::Accepted,
       "MiXeD"},
      {"confirmation differs", "old", "old", "one", "two", PasswordVerdict::ConfirmationDiffers,
       std::nullopt},
      {"confirmation empty", "old", "old", "one", "", PasswordVerdict::ConfirmationDiffers, std::nullopt},
      {"only the confirmation typed", "old", "old", "", "one", PasswordVerdict::ConfirmationDiffers,
       std::nullopt},
      {"change with a wrong password", "old", "bad", "new", "new", PasswordVerdict::Invalid, std::nullopt},
      {"wrong password, differing new ones", "old", "bad", "a", "b", PasswordVerdict::ConfirmationDiffers,
       std::nullopt},
      {"same as the one typed: no change", "old", "old", "OLD", "old", PasswordVerdict::Accepted,
       std::nullopt},
  };
  for (const PasswordCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto check = CheckPassword({c.passwd, c.newPasswd, c.confirmPasswd}, c.stored);
    EXPECT_EQ(check.verdict, c.verdict);
    EXPECT_EQ(check.newPassword, c.newPassword);
  }
}

TEST(ShutdownAlert, OnlyForALockForcedByTheLastRunAndOnlyOnce) {
  struct Case {
    bool sortieNormale;
    bool startLock;
    bool alert;
  };
  for (const Case c : {Case{false, false, true}, Case{false, true, false}, Case{true, false, false},
                       Case{true, true, false}}) {
    SCOPED_TRACE(::testing::Message() << "sortieNormale " << c.sortieNormale << " startLock " << c.startLock);
    bool sortieNormale = c.sortieNormale;
    EXPECT_EQ(ql::TakeShutdownAlert(sortieNormale, c.startLock), c.alert);
    EXPECT_TRUE(sortieNormale);
    EXPECT_FALSE(ql::TakeShutdownAlert(sortieNormale, false)) << "never a second time";
  }
}

TEST(LockKeys, SwallowsTheTaskSwitchingCombinationsOnly) {
  using ql::KeyStroke;
  struct Case {
    KeyStroke key;
    bool swallowed;
  };
  const Case cases[] = {
      {{ql::kVkTab, true, false}, true},
      {{ql::kVkTab, false, false}, false},
      {{ql::kVkTab, false, true}, false},
      {{ql::kVkEscape, true, false}, true},
      {{ql::kVkEscape, false, true}, true},
      {{ql::kVkEscape, false, false}, false},
      {{ql::kVkLeftWin, false, false}, true},
      {{ql::kVkRightWin, false, false}, true},
      {{'A', true, false}, false},
      {{'P', false, true}, false},
      {{0x73 /* F4 */, true, false}, false},
      {{0x12 /* Alt itself */, true, false}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ql::IsTaskSwitchKey(c.key), c.swallowed)
        << "key " << c.key.virtualKey << " alt " << c.key.altDown << " ctrl " << c.key.ctrlDown;
  }
}

TEST(LockKeys, FilterFollowsTheModifiersItSees) {
  // Event by event, as the hook gets them: virtual key, released, swallowed.
  struct Event {
    std::uint32_t vk;
    bool released;
    bool swallowed;
  };
  const Event sequence[] = {
      {ql::kVkLeftAlt, false, false},      {ql::kVkTab, false, true},     {ql::kVkTab, true, true},
      {ql::kVkLeftAlt, true, false},       {ql::kVkTab, false, false},    {ql::kVkTab, true, false},
      {ql::kVkRightControl, false, false}, {ql::kVkEscape, false, true},  {ql::kVkEscape, true, true},
      {ql::kVkRightControl, true, false},  {ql::kVkEscape, false, false}, {ql::kVkAlt, false, false},
      {ql::kVkEscape, false, true},        {ql::kVkAlt, true, false},     {ql::kVkLeftWin, false, true},
      {ql::kVkLeftWin, true, true},        {'A', false, false},
  };
  ql::TaskSwitchFilter filter;
  int i = 0;
  for (const Event& e : sequence) {
    EXPECT_EQ(filter.Swallow(e.vk, e.released, false, false), e.swallowed) << "event " << i;
    ++i;
  }
  // A modifier the system reports held (pressed before the hook came) counts too.
  ql::TaskSwitchFilter fresh;
  EXPECT_TRUE(fresh.Swallow(ql::kVkTab, false, true, false));
  EXPECT_TRUE(fresh.Swallow(ql::kVkEscape, false, false, true));
  EXPECT_FALSE(fresh.Swallow(ql::kVkTab, false, false, true));
}

}  // namespace
