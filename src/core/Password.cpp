#include "core/Password.h"

namespace ql {

namespace {

constexpr unsigned char kLatin1Lead = 0xC3;  // UTF-8 lead byte of U+00C0..U+00FF

// The text with ASCII capitals and the Latin-1 capitals (U+00C0..U+00DE but the multiplication
// sign) made small; every other byte as it is.
std::string Folded(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    } else if (c == kLatin1Lead && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      // U+00C0..U+00DE are C3 80..C3 9E; U+00D7 (C3 97) has no small form.
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

}  // namespace

bool SamePassword(std::string_view a, std::string_view b) {
  return a.size() == b.size() && Folded(a) == Folded(b);
}

PasswordCheck CheckPassword(const PasswordEntry& entry, std::string_view stored) {
  PasswordCheck check;
  const bool newAgree = SamePassword(entry.newPasswd, entry.confirmPasswd);
  if (SamePassword(entry.passwd, stored) && newAgree) {
    check.verdict = PasswordVerdict::Accepted;
    if (!entry.newPasswd.empty() && !SamePassword(entry.newPasswd, entry.passwd)) {
      check.newPassword = std::string(entry.newPasswd);
    }
    return check;
  }
  check.verdict = newAgree ? PasswordVerdict::Invalid : PasswordVerdict::ConfirmationDiffers;
  return check;
}

bool TakeShutdownAlert(bool& sortieNormale, bool startLock) {
  const bool alert = !sortieNormale && !startLock;
  // Cleared even when the lock at every start hides the alert: switching that lock off later
  // must not bring back an alert about a run long past.
  sortieNormale = true;
  return alert;
}

}  // namespace ql
