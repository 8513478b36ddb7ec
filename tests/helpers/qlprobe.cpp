// qlprobe: looks at and pokes the running program from the outside, for the end-to-end tests
// and the benchmarks (which run it under Wine from shell scripts).
//
// Every command prints its results on stdout, one item per line, in UTF-8 with "\n" line ends,
// and exits 0 on success, 1 on failure (message on stderr), 2 on bad usage. Every wait has a
// timeout (10000 ms unless given). Windows are top-level windows found by their exact title;
// when several have it, a visible one is taken. Registry paths are under HKEY_CURRENT_USER (a
// leading "HKCU\" or "HKEY_CURRENT_USER\" is accepted and dropped).
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/Handles.h"
#include "win/Utf.h"
#include "win/Win.h"
// After Win.h:
#include <psapi.h>

namespace {

using ql::win::Narrow;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;
constexpr unsigned kDefaultTimeoutMs = 10000;

using Args = std::vector<std::wstring>;

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

int Fail(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "qlprobe: %s\n", message.c_str());
  return kFailed;
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "qlprobe: %s (run without arguments for the list of commands)\n", message.c_str());
  return kBadUsage;
}

std::optional<unsigned long long> ParseUnsigned(const std::wstring& text, unsigned long long max) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  unsigned long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<unsigned long long>(c - L'0');
  }
  if (value > max) return std::nullopt;
  return value;
}

std::optional<long long> ParseSigned(const std::wstring& text) {
  if (!text.empty() && text[0] == L'-') {
    const auto v = ParseUnsigned(text.substr(1), 1u << 30);
    if (!v) return std::nullopt;
    return -static_cast<long long>(*v);
  }
  const auto v = ParseUnsigned(text, 1u << 30);
  if (!v) return std::nullopt;
  return static_cast<long long>(*v);
}

// The optional timeout argument at `index`.
std::optional<unsigned> TimeoutArg(const Args& args, std::size_t index) {
  if (args.size() <= index) return kDefaultTimeoutMs;
  const auto v = ParseUnsigned(args[index], 24ULL * 3600 * 1000);
  if (!v) return std::nullopt;
  return static_cast<unsigned>(*v);
}

double NowMs() {
  LARGE_INTEGER freq{};
  LARGE_INTEGER now{};
  ::QueryPerformanceFrequency(&freq);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// ---- windows ----

std::wstring TitleOf(HWND hwnd) {
  // For a window of another process GetWindowText reads the stored caption and sends no
  // message, so a hung program cannot block the probe.
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

// Top-level windows titled exactly `title`, in z-order. FindWindowEx compares without regard to
// case, so the title is compared again.
std::vector<HWND> WindowsTitled(const std::wstring& title) {
  std::vector<HWND> found;
  HWND after = nullptr;
  while ((after = ::FindWindowExW(nullptr, after, nullptr, title.c_str())) != nullptr) {
    if (TitleOf(after) == title) found.push_back(after);
  }
  return found;
}

HWND FindVisible(const std::wstring& title) {
  for (HWND hwnd : WindowsTitled(title)) {
    if (::IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

// A visible window with that title if there is one, else any.
HWND FindAny(const std::wstring& title) {
  const std::vector<HWND> all = WindowsTitled(title);
  for (HWND hwnd : all) {
    if (::IsWindowVisible(hwnd)) return hwnd;
  }
  return all.empty() ? nullptr : all.front();
}

int NoWindow(const std::wstring& title) { return Fail("no window titled \"" + Narrow(title) + "\""); }

int CmdWait(const Args& a) {
  const auto timeout = TimeoutArg(a, 1);
  if (!timeout) return Usage("bad timeout");
  const double start = NowMs();
  for (;;) {
    if (FindVisible(a[0]) != nullptr) return kOk;
    if (NowMs() - start >= *timeout) {
      return Fail("no visible window titled \"" + Narrow(a[0]) + "\" after " + std::to_string(*timeout) +
                  " ms");
    }
    ::Sleep(5);
  }
}

int CmdStartedMs(const Args& a) {
  const auto timeout = TimeoutArg(a, 1);
  if (!timeout) return Usage("bad timeout");
  const double start = NowMs();
  for (;;) {
    if (FindVisible(a[0]) != nullptr) {
      Print(std::to_string(std::llround(NowMs() - start)));
      return kOk;
    }
    if (NowMs() - start >= *timeout) {
      return Fail("no visible window titled \"" + Narrow(a[0]) + "\" after " + std::to_string(*timeout) +
                  " ms");
    }
    ::Sleep(1);
  }
}

int CmdGone(const Args& a) {
  const auto timeout = TimeoutArg(a, 1);
  if (!timeout) return Usage("bad timeout");
  const double start = NowMs();
  for (;;) {
    if (WindowsTitled(a[0]).empty()) return kOk;
    if (NowMs() - start >= *timeout) {
      return Fail("a window titled \"" + Narrow(a[0]) + "\" still exists after " + std::to_string(*timeout) +
                  " ms");
    }
    ::Sleep(5);
  }
}

int CmdRect(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  RECT r{};
  if (!::GetWindowRect(hwnd, &r)) return Fail("GetWindowRect failed");
  Print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
        std::to_string(r.bottom - r.top));
  return kOk;
}

// The first visible popup menu of any program (the system's menu class).
HWND VisibleMenu() {
  for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w != nullptr;
       w = ::FindWindowExW(nullptr, w, L"#32768", nullptr)) {
    if (::IsWindowVisible(w)) return w;
  }
  return nullptr;
}

int CmdMenu(const Args& a) {
  const auto timeout = TimeoutArg(a, 0);
  if (!timeout) return Usage("bad timeout");
  const double start = NowMs();
  for (;;) {
    if (HWND menu = VisibleMenu()) {
      RECT r{};
      if (!::GetWindowRect(menu, &r)) return Fail("GetWindowRect failed");
      Print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
            " " + std::to_string(r.bottom - r.top));
      return kOk;
    }
    if (NowMs() - start >= *timeout) return Fail("no popup menu after " + std::to_string(*timeout) + " ms");
    ::Sleep(5);
  }
}

int CmdExStyle(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  char text[16] = {};
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(::GetWindowLongW(hwnd, GWL_EXSTYLE)));
  Print(text);
  return kOk;
}

int CmdVisible(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  Print(::IsWindowVisible(hwnd) ? "1" : "0");
  return kOk;
}

int CmdChildren(const Args& a) {
  HWND parent = FindAny(a[0]);
  if (parent == nullptr) return NoWindow(a[0]);
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[256] = {};
    ::GetClassNameW(child, cls, 256);
    RECT r{};
    ::GetWindowRect(child, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    ::MapWindowPoints(HWND_DESKTOP, parent, corners, 2);
    const long left = std::min(corners[0].x, corners[1].x);  // a mirrored parent swaps them
    Print(Narrow(cls) + " " + std::to_string(left) + " " + std::to_string(corners[0].y) + " " +
          std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top));
  }
  return kOk;
}

int CmdClose(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  if (!::PostMessageW(hwnd, WM_CLOSE, 0, 0)) return Fail("PostMessage failed");
  return kOk;
}

// A Unix path (under Wine) becomes the DOS path Wine maps it to; anything else is made absolute.
std::wstring WindowsPath(const std::wstring& path) {
  if (!path.empty() && path[0] == L'/') {
    using ToDos = WCHAR*(CDECL*)(LPCSTR);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    // Only Wine's kernel32 has this export; through void* as FARPROC has another signature.
    FARPROC proc = kernel != nullptr ? ::GetProcAddress(kernel, "wine_get_dos_file_name") : nullptr;
    const auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(proc));
    if (toDos != nullptr) {
      const std::string unixPath = Narrow(path);
      if (WCHAR* dos = toDos(unixPath.c_str())) {
        std::wstring result(dos);
        ::HeapFree(::GetProcessHeap(), 0, dos);
        return result;
      }
    }
  }
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  full.resize(written < needed ? written : 0);
  return full.empty() ? path : full;
}

bool RunningOnWine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Windows copies the block of a WM_DROPFILES posted to another process into that process; Wine
// passes the handle on unchanged, meaningless there. So under Wine the block is written straight
// into the receiving process: a page-aligned address is what GlobalLock takes for the pointer of
// fixed memory, which is all DragQueryFile needs (DragFinish's GlobalFree of it fails harmlessly,
// so each drop leaves one page behind in the receiver).
int PostDropIntoProcess(HWND hwnd, const std::vector<unsigned char>& block) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  const ql::win::KernelHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return Fail("cannot open the process of the window");
  void* remote =
      ::VirtualAllocEx(process.get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr) return Fail("VirtualAllocEx failed");
  SIZE_T written = 0;
  if (!::WriteProcessMemory(process.get(), remote, block.data(), block.size(), &written) ||
      written != block.size()) {
    ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return Fail("WriteProcessMemory failed");
  }
  if (!::PostMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0)) {
    ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return Fail("PostMessage(WM_DROPFILES) failed");
  }
  return kOk;
}

int PostDrop(HWND hwnd, const Args& a, std::size_t firstFile, POINT at);

int CmdDrop(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  return PostDrop(hwnd, a, 1, POINT{0, 0});
}

int PostDrop(HWND hwnd, const Args& a, std::size_t firstFile, POINT at) {
  std::wstring list;  // every path followed by a null, and one more null at the end
  for (std::size_t i = firstFile; i < a.size(); ++i) {
    list += WindowsPath(a[i]);
    list.push_back(L'\0');
  }
  list.push_back(L'\0');

  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.pt = at;
  header.fNC = FALSE;
  header.fWide = TRUE;
  std::vector<unsigned char> block(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  std::memcpy(block.data(), &header, sizeof(header));
  std::memcpy(block.data() + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));

  if (RunningOnWine()) return PostDropIntoProcess(hwnd, block);

  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
  if (memory == nullptr) return Fail("GlobalAlloc failed");
  void* target = ::GlobalLock(memory);
  if (target == nullptr) {
    ::GlobalFree(memory);
    return Fail("GlobalLock failed");
  }
  std::memcpy(target, block.data(), block.size());
  ::GlobalUnlock(memory);
  // The system copies the block for the receiver, which frees its copy with DragFinish.
  if (!::PostMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) {
    ::GlobalFree(memory);
    return Fail("PostMessage(WM_DROPFILES) failed");
  }
  return kOk;
}

// ---- processes ----

ql::win::KernelHandle OpenOwner(HWND hwnd) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  return ql::win::KernelHandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
}

int CmdGdi(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  const ql::win::KernelHandle process = OpenOwner(hwnd);
  if (!process) return Fail("cannot open the process of the window");
  ::SetLastError(0);
  const DWORD gdi = ::GetGuiResources(process.get(), GR_GDIOBJECTS);
  const DWORD gdiError = ::GetLastError();
  const DWORD user = ::GetGuiResources(process.get(), GR_USEROBJECTS);
  // A GUI process always holds some objects: 0 with an error means the system cannot count them.
  if (gdi == 0 && user == 0 && gdiError != 0) {
    return Fail("GetGuiResources is not available here (error " + std::to_string(gdiError) + ")");
  }
  Print("gdi " + std::to_string(gdi) + " user " + std::to_string(user));
  return kOk;
}

int CmdMemory(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  const ql::win::KernelHandle process = OpenOwner(hwnd);
  if (!process) return Fail("cannot open the process of the window");
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!::GetProcessMemoryInfo(process.get(), &counters, sizeof(counters))) {
    return Fail("GetProcessMemoryInfo failed");
  }
  Print(std::to_string(counters.WorkingSetSize / 1024));
  return kOk;
}

int CmdPixel(const Args& a) {
  const auto x = ParseSigned(a[0]);
  const auto y = ParseSigned(a[1]);
  if (!x || !y) return Usage("X and Y must be whole numbers");
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return Fail("GetDC failed");
  const COLORREF c = ::GetPixel(screen, static_cast<int>(*x), static_cast<int>(*y));
  ::ReleaseDC(nullptr, screen);
  if (c == CLR_INVALID) return Fail("GetPixel failed (outside the screen?)");
  Print(std::to_string(GetRValue(c)) + " " + std::to_string(GetGValue(c)) + " " +
        std::to_string(GetBValue(c)));
  return kOk;
}

// ---- registry ----

std::wstring KeyPath(std::wstring path) {
  for (const wchar_t* prefix : {L"HKEY_CURRENT_USER\\", L"HKCU\\"}) {
    const std::size_t n = std::wcslen(prefix);
    if (path.size() >= n && ::CompareStringOrdinal(path.c_str(), static_cast<int>(n), prefix,
                                                   static_cast<int>(n), TRUE) == CSTR_EQUAL) {
      path.erase(0, n);
      break;
    }
  }
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::string Hex(const unsigned char* data, std::size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    out.push_back(digits[data[i] >> 4]);
    out.push_back(digits[data[i] & 0x0F]);
  }
  return out;
}

std::optional<std::vector<unsigned char>> ParseHex(const std::wstring& text) {
  if (text.size() % 2 != 0) return std::nullopt;
  auto nibble = [](wchar_t c) -> int {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
  };
  std::vector<unsigned char> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int hi = nibble(text[i]);
    const int lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes.push_back(static_cast<unsigned char>(hi * 16 + lo));
  }
  return bytes;
}

// Text of a string value; control characters (a line break would split the line) become \xHH.
std::string PrintableText(const std::vector<unsigned char>& data) {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  std::string out;
  for (const char c : Narrow(text)) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\x%02x", u);
      out += escaped;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

struct Value {
  std::wstring name;
  DWORD type = REG_NONE;
  std::vector<unsigned char> data;
};

int CmdRegDump(const Args& a) {
  const std::wstring path = KeyPath(a[0]);
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
    return Fail("no key HKEY_CURRENT_USER\\" + Narrow(path));
  }
  const ql::win::RegKey key(raw);
  DWORD maxName = 0;
  DWORD maxData = 0;
  ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                     &maxData, nullptr, nullptr);

  std::vector<Value> values;
  for (DWORD index = 0;; ++index) {
    Value v;
    std::wstring name(maxName + 1, L'\0');
    v.data.resize(std::max<DWORD>(maxData, 1));
    DWORD nameLength = maxName + 1;
    DWORD dataSize = static_cast<DWORD>(v.data.size());
    const LONG rc = ::RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &v.type,
                                    v.data.data(), &dataSize);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) return Fail("RegEnumValue failed (error " + std::to_string(rc) + ")");
    name.resize(nameLength);
    v.name = std::move(name);
    v.data.resize(dataSize);
    values.push_back(std::move(v));
  }

  std::sort(values.begin(), values.end(), [](const Value& l, const Value& r) {
    const int c = ::CompareStringOrdinal(l.name.c_str(), static_cast<int>(l.name.size()), r.name.c_str(),
                                         static_cast<int>(r.name.size()), TRUE);
    if (c != CSTR_EQUAL) return c == CSTR_LESS_THAN;
    return l.name < r.name;
  });

  for (const Value& v : values) {
    std::string type;
    std::string text;
    switch (v.type) {
      case REG_SZ:
        type = "sz";
        text = PrintableText(v.data);
        break;
      case REG_EXPAND_SZ:
        type = "expand_sz";
        text = PrintableText(v.data);
        break;
      case REG_BINARY:
        type = "binary";
        text = Hex(v.data.data(), v.data.size());
        break;
      case REG_DWORD:
        if (v.data.size() == 4) {
          std::uint32_t n = 0;
          std::memcpy(&n, v.data.data(), 4);
          type = "dword";
          text = std::to_string(n);
          break;
        }
        [[fallthrough]];
      default:
        type = "other";
        text = Hex(v.data.data(), v.data.size());
        break;
    }
    std::string line = Narrow(v.name);
    line += '\t';
    line += type;
    line += '\t';
    line += text;
    Print(line);
  }
  return kOk;
}

int CmdRegSet(const Args& a) {
  const std::wstring path = KeyPath(a[0]);
  const std::wstring& name = a[1];
  const std::wstring& kind = a[2];
  const std::wstring& text = a[3];

  DWORD type = REG_SZ;
  std::vector<unsigned char> data;
  if (kind == L"sz") {
    data.resize((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(data.data(), text.c_str(), data.size());
  } else if (kind == L"binary") {
    type = REG_BINARY;
    auto bytes = ParseHex(text);
    if (!bytes) return Usage("a binary value is written as hex digits, two per byte");
    data = std::move(*bytes);
  } else if (kind == L"dword") {
    type = REG_DWORD;
    const auto n = ParseUnsigned(text, 0xFFFFFFFFull);
    if (!n) return Usage("a dword value is a decimal number 0..4294967295");
    const auto value = static_cast<std::uint32_t>(*n);
    data.resize(4);
    std::memcpy(data.data(), &value, 4);
  } else {
    return Usage("the value type is sz, binary or dword");
  }

  HKEY raw = nullptr;
  const LONG created = ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (created != ERROR_SUCCESS) return Fail("cannot create HKEY_CURRENT_USER\\" + Narrow(path));
  const ql::win::RegKey key(raw);
  const LONG rc = ::RegSetValueExW(key.get(), name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                                   static_cast<DWORD>(data.size()));
  if (rc != ERROR_SUCCESS) return Fail("RegSetValueEx failed (error " + std::to_string(rc) + ")");
  return kOk;
}

int CmdRegDelKey(const Args& a) {
  const std::wstring path = KeyPath(a[0]);
  if (path.empty()) return Usage("refusing to delete the whole of HKEY_CURRENT_USER");
  const LONG rc = ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
  if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) return kOk;
  return Fail("RegDeleteTree failed (error " + std::to_string(rc) + ")");
}

// ---- modules (the dock's module tiles) ----

// drop-at TITLE X Y FILE...: the files dropped at (X, Y) of the window's client area.
int CmdDropAt(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  const auto x = ParseSigned(a[1]);
  const auto y = ParseSigned(a[2]);
  if (!x || !y) return Usage("X and Y must be whole numbers");
  return PostDrop(hwnd, a, 3, POINT{static_cast<LONG>(*x), static_cast<LONG>(*y)});
}

// hints TITLE: every tool of the tooltip windows that the window owns, one a line, as
// "x y w h<TAB>text" (the rectangle in the window's client area; line breaks of the text as "|").
// The tooltip is asked in its own process: the tool record and the text buffer are put there.
int CmdHints(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  const ql::win::KernelHandle process(
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return Fail("cannot open the process of the window");
  constexpr std::size_t kTextChars = 1024;
  const std::size_t size = sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t);
  auto* remote =
      static_cast<unsigned char*>(::VirtualAllocEx(process.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  if (remote == nullptr) return Fail("VirtualAllocEx failed");
  auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
  int status = kOk;
  auto ask = [&](HWND tip, UINT msg, WPARAM wParam, TTTOOLINFOW& ti) {
    SIZE_T done = 0;
    DWORD_PTR answer = 0;
    return ::WriteProcessMemory(process.get(), remote, &ti, sizeof ti, &done) &&
           ::SendMessageTimeoutW(tip, msg, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000,
                                 &answer) != 0 &&
           answer != 0 && ::ReadProcessMemory(process.get(), remote, &ti, sizeof ti, &done);
  };
  HWND tip = nullptr;
  while ((tip = ::FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) != nullptr) {
    if (::GetWindow(tip, GW_OWNER) != hwnd) continue;
    DWORD_PTR count = 0;
    ::SendMessageTimeoutW(tip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    for (DWORD_PTR i = 0; i < count; ++i) {
      TTTOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      if (!ask(tip, TTM_ENUMTOOLSW, i, ti)) continue;
      const RECT r = ti.rect;
      ti.lpszText = remoteText;
      std::wstring text(kTextChars, L'\0');
      SIZE_T done = 0;
      SIZE_T written = 0;
      const wchar_t none = L'\0';
      ::WriteProcessMemory(process.get(), remoteText, &none, sizeof none, &written);
      DWORD_PTR ignored = 0;
      ::WriteProcessMemory(process.get(), remote, &ti, sizeof ti, &written);
      ::SendMessageTimeoutW(tip, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                            2000, &ignored);
      if (!::ReadProcessMemory(process.get(), remoteText, text.data(), kTextChars * sizeof(wchar_t), &done)) {
        status = Fail("ReadProcessMemory failed");
        break;
      }
      text.resize(std::wcslen(text.c_str()));
      std::string line = Narrow(text);
      for (char& c : line) {
        if (c == '\r' || c == '\n') c = '|';
      }
      Print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
            " " + std::to_string(r.bottom - r.top) + "\t" + line);
    }
  }
  ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return status;
}

// ---- the task bar ----

// tasks: every visible task button host of the dock ("TTaskHost" windows), one a line, as
// "x y w h<TAB>title" (the screen rectangle of the host, the window title its button carries).
int CmdTasks(const Args&) {
  for (HWND host = ::FindWindowExW(nullptr, nullptr, L"TTaskHost", nullptr); host != nullptr;
       host = ::FindWindowExW(nullptr, host, L"TTaskHost", nullptr)) {
    if (!::IsWindowVisible(host)) continue;
    RECT r{};
    ::GetWindowRect(host, &r);
    HWND button = ::GetWindow(host, GW_CHILD);
    Print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
          " " + std::to_string(r.bottom - r.top) + "\t" + (button != nullptr ? Narrow(TitleOf(button)) : ""));
  }
  return kOk;
}

int PostTo(HWND hwnd, const Args& a, std::size_t first) {
  const auto msg = ParseUnsigned(a[first], 0xFFFF);
  const auto wParam = a.size() > first + 1 ? ParseUnsigned(a[first + 1], 0xFFFFFFFFull)
                                           : std::optional<unsigned long long>(0);
  if (!msg || !wParam) return Usage("MSG and WPARAM are decimal numbers");
  if (!::PostMessageW(hwnd, static_cast<UINT>(*msg), static_cast<WPARAM>(*wParam), 0)) {
    return Fail("PostMessage failed");
  }
  return kOk;
}

// post TITLE MSG [WPARAM]: posts the message (a number) to the window.
int CmdPost(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  return PostTo(hwnd, a, 1);
}

// postchild TITLE CLASS MSG [WPARAM]: the same to the window's first direct child of the class.
int CmdPostChild(const Args& a) {
  HWND parent = FindAny(a[0]);
  if (parent == nullptr) return NoWindow(a[0]);
  HWND child = ::FindWindowExW(parent, nullptr, a[1].c_str(), nullptr);
  if (child == nullptr) return Fail("no child of class \"" + Narrow(a[1]) + "\"");
  return PostTo(child, a, 2);
}

// answers TITLE [timeout_ms]: the window's thread answers a message within the time; prints
// the milliseconds it took.
int CmdAnswers(const Args& a) {
  const auto timeout = TimeoutArg(a, 1);
  if (!timeout) return Usage("bad timeout");
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  const double start = NowMs();
  DWORD_PTR result = 0;
  if (::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, *timeout, &result) == 0) {
    return Fail("\"" + Narrow(a[0]) + "\" did not answer within " + std::to_string(*timeout) + " ms");
  }
  Print(std::to_string(std::llround(NowMs() - start)));
  return kOk;
}

// foreground: the title of the foreground window (an empty line for none or an untitled one).
int CmdForeground(const Args&) {
  HWND hwnd = ::GetForegroundWindow();
  Print(hwnd != nullptr ? Narrow(TitleOf(hwnd)) : "");
  return kOk;
}

// findclass CLASS: the title of the window FindWindow gives for the class (the first top-level
// window of it in z-order).
int CmdFindClass(const Args& a) {
  HWND hwnd = ::FindWindowW(a[0].c_str(), nullptr);
  if (hwnd == nullptr) return Fail("no window of class \"" + Narrow(a[0]) + "\"");
  Print(Narrow(TitleOf(hwnd)));
  return kOk;
}

int CmdIconic(const Args& a) {
  HWND hwnd = FindAny(a[0]);
  if (hwnd == nullptr) return NoWindow(a[0]);
  Print(::IsIconic(hwnd) ? "1" : "0");
  return kOk;
}

// ---- command table ----

// ---- dialogs ----

struct ControlSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindCaptioned(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  if (::IsWindowVisible(hwnd) && TitleOf(hwnd) == search->caption) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A visible control of a visible window so titled (at any depth) whose caption is exactly CAPTION: its place
// on the screen, once there is one.
int CmdControlRect(const Args& a) {
  const auto timeout = TimeoutArg(a, 2);
  if (!timeout) return Usage("bad timeout");
  const double start = NowMs();
  for (;;) {
    for (HWND parent : WindowsTitled(a[0])) {  // a message box may share the program's title
      if (!::IsWindowVisible(parent)) continue;
      ControlSearch search{a[1]};
      ::EnumChildWindows(parent, FindCaptioned, reinterpret_cast<LPARAM>(&search));
      RECT r{};
      if (search.found != nullptr && ::GetWindowRect(search.found, &r)) {
        Print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
              " " + std::to_string(r.bottom - r.top));
        return kOk;
      }
    }
    if (NowMs() - start >= *timeout) {
      return Fail("no visible control \"" + Narrow(a[1]) + "\" in \"" + Narrow(a[0]) + "\"");
    }
    ::Sleep(5);
  }
}

struct Command {
  const wchar_t* name;
  std::size_t minArgs;
  std::size_t maxArgs;  // SIZE_MAX: any number
  int (*run)(const Args&);
  const char* help;
};

constexpr Command kCommands[] = {
    {L"wait", 1, 2, CmdWait, "wait TITLE [timeout_ms]          until a visible window has that title"},
    {L"gone", 1, 2, CmdGone, "gone TITLE [timeout_ms]          until no window has that title"},
    {L"started-ms", 1, 2, CmdStartedMs,
     "started-ms TITLE [timeout_ms]    ms from now until the window is visible"},
    {L"rect", 1, 1, CmdRect, "rect TITLE                       x y w h on the screen"},
    {L"menu", 0, 1, CmdMenu, "menu [timeout_ms]                x y w h of a popup menu, once one shows"},
    {L"visible", 1, 1, CmdVisible, "visible TITLE                    1 or 0"},
    {L"exstyle", 1, 1, CmdExStyle, "exstyle TITLE                    the extended style, 0x..."},
    {L"children", 1, 1, CmdChildren, "children TITLE                   class x y w h of each direct child"},
    {L"close", 1, 1, CmdClose, "close TITLE                      posts WM_CLOSE"},
    {L"drop", 2, SIZE_MAX, CmdDrop, "drop TITLE FILE...               posts WM_DROPFILES with the files"},
    {L"regdump", 1, 1, CmdRegDump,
     "regdump KEYPATH                  NAME<TAB>TYPE<TAB>VALUE of HKCU\\KEYPATH"},
    {L"regset", 4, 4, CmdRegSet, "regset KEYPATH NAME sz|binary|dword VALUE"},
    {L"regdelkey", 1, 1, CmdRegDelKey, "regdelkey KEYPATH                deletes the key and its subkeys"},
    {L"gdi", 1, 1, CmdGdi, "gdi TITLE                        gdi N user M of the window's process"},
    {L"memory", 1, 1, CmdMemory,
     "memory TITLE                     working set of the window's process in KiB"},
    {L"pixel", 2, 2, CmdPixel, "pixel X Y                        r g b of a screen pixel"},
    // modules
    {L"drop-at", 4, SIZE_MAX, CmdDropAt, "drop-at TITLE X Y FILE...        WM_DROPFILES at a client point"},
    {L"hints", 1, 1, CmdHints,
     "hints TITLE                      x y w h<TAB>text of the window's hint tools"},
    // configuration dialog
    {L"control-rect", 2, 3, CmdControlRect,
     "control-rect TITLE CAPTION [ms]  x y w h of a visible control captioned CAPTION"},
    // the task bar
    {L"tasks", 0, 0, CmdTasks, "tasks                            x y w h<TAB>title of each task button"},
    {L"post", 2, 3, CmdPost, "post TITLE MSG [WPARAM]          posts a message (decimal numbers)"},
    {L"postchild", 3, 4, CmdPostChild, "postchild TITLE CLASS MSG [WPARAM] posts a message to a child"},
    {L"answers", 1, 2, CmdAnswers,
     "answers TITLE [timeout_ms]       ms the window's thread takes to answer a message"},
    {L"foreground", 0, 0, CmdForeground, "foreground                       title of the foreground window"},
    {L"findclass", 1, 1, CmdFindClass,
     "findclass CLASS                  title of FindWindow's window of the class"},
    {L"iconic", 1, 1, CmdIconic, "iconic TITLE                     1 when minimised, else 0"},
};

int ListCommands() {
  std::fprintf(stderr, "usage: qlprobe COMMAND ARGS...\n");
  for (const Command& c : kCommands) std::fprintf(stderr, "  %s\n", c.help);
  return kBadUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return ListCommands();
  const std::wstring name = argv[1];
  const Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    if (args.size() < c.minArgs || args.size() > c.maxArgs) {
      std::fprintf(stderr, "usage: qlprobe %s\n", c.help);
      return kBadUsage;
    }
    const int rc = c.run(args);
    std::fflush(stdout);
    return rc;
  }
  return Usage("unknown command \"" + Narrow(name) + "\"");
}
