// The lock's password rules: what the password dialog's answers mean, and when the dialog warns
// that the previous run ended inside a lock. Comparisons ignore letter case (ASCII and the
// Latin-1 letters); a new password is kept exactly as it was typed in the new-password field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ql {

inline constexpr char kInvalidPasswordText[] = "Invalid Password !!!";
inline constexpr char kPasswordsDifferText[] = "The two new passwords differ !!!";
inline constexpr char kShutdownAlertText[] = "Computer was shut down !!!";

// The three fields of the password dialog as they were closed with OK.
struct PasswordEntry {
  std::string_view passwd;         // "&Password :"
  std::string_view newPasswd;      // "Enter &new password :"
  std::string_view confirmPasswd;  // "&Confirm new password :"
};

enum class PasswordVerdict : std::uint8_t {
  Accepted,             // the lock ends
  ConfirmationDiffers,  // the two new passwords differ: warned, asked again, nothing changed
  Invalid,              // "Invalid Password !!!", asked again
};

struct PasswordCheck {
  PasswordVerdict verdict = PasswordVerdict::Invalid;
  // Accepted with a change: the new password, to be stored at once.
  std::optional<std::string> newPassword;
};

// Equal when they differ at most in letter case.
bool SamePassword(std::string_view a, std::string_view b);

// One answer of the dialog against the stored password `stored`. Accepted when the password is
// the stored one and the two new fields agree; the password changes when the new one is not
// empty and differs from the one typed. A refusal names the two new fields' disagreement first.
PasswordCheck CheckPassword(const PasswordEntry& entry, std::string_view stored);

// Whether this showing of the dialog carries the alert "Computer was shut down !!!": only for a
// lock forced by a previous run that ended inside a lock (`sortieNormale` false) when the lock
// at every start (`startLock`) is off. Sets `sortieNormale`, so the alert shows at most once.
bool TakeShutdownAlert(bool& sortieNormale, bool startLock);

}  // namespace ql
