// Host tool of the build: turns the text pixel art of the resources into .ico and .bmp files.
//
//   pixelart ico INPUT.txt OUTPUT.ico [GRID...]   every grid of the file (or the ones named), one
//                                                 icon image each
//   pixelart bmp INPUT.txt GRID OUTPUT.bmp        one grid as a 24-bit bitmap
//
// Exit status 0 on success, 1 on a bad input file, 2 on bad usage.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "pixelart_lib.h"

namespace {

int Usage() {
  std::cerr << "usage: pixelart ico INPUT.txt OUTPUT.ico [GRID...]\n"
               "       pixelart bmp INPUT.txt GRID OUTPUT.bmp\n";
  return 2;
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 3) return Usage();
  const std::string& mode = args[0];
  if (mode != "ico" && mode != "bmp") return Usage();
  if (mode == "bmp" && args.size() != 4) return Usage();

  std::string text;
  if (!ReadFile(args[1], text)) {
    std::cerr << "pixelart: cannot read " << args[1] << "\n";
    return 1;
  }

  try {
    const ql::pixelart::Sheet sheet = ql::pixelart::Parse(text);
    std::vector<std::uint8_t> bytes;
    std::string output;

    if (mode == "ico") {
      output = args[2];
      std::vector<const ql::pixelart::Grid*> images;
      if (args.size() == 3) {
        for (const auto& g : sheet.grids) images.push_back(&g);
      } else {
        for (std::size_t i = 3; i < args.size(); ++i) {
          const auto* g = sheet.Find(args[i]);
          if (g == nullptr) {
            std::cerr << "pixelart: " << args[1] << " has no grid '" << args[i] << "'\n";
            return 1;
          }
          images.push_back(g);
        }
      }
      if (images.empty()) {
        std::cerr << "pixelart: " << args[1] << " has no grid\n";
        return 1;
      }
      bytes = ql::pixelart::EncodeIco(images);
    } else {
      const auto* g = sheet.Find(args[2]);
      if (g == nullptr) {
        std::cerr << "pixelart: " << args[1] << " has no grid '" << args[2] << "'\n";
        return 1;
      }
      output = args[3];
      bytes = ql::pixelart::EncodeBmp(*g);
    }

    if (!WriteFile(output, bytes)) {
      std::cerr << "pixelart: cannot write " << output << "\n";
      std::remove(output.c_str());
      return 1;
    }
  } catch (const ql::pixelart::ParseError& e) {
    std::cerr << args[1] << ": " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "pixelart: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
