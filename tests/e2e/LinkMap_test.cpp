#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>

namespace {

// What must not come into a shipped program, by the input section or archive member its
// link map names. The programs start without the C runtime's start-up code, which alone would
// run static constructors, thread-local set-up and pseudo-relocations; they have no exceptions,
// so no unwinder, exception tables or unwind information; and they take nothing from the C++
// library's archive, whose objects bring its exception machinery.
struct Forbidden {
  const char* what;
  std::regex input;  // an input section or archive member, as the map's line names it
};

const Forbidden kForbidden[] = {
    {"a static constructor or destructor", std::regex(R"(^ \.(c|d)tors(\.\d+)?$)")},
    {"a start-up or exit callback of the C runtime", std::regex(R"(^ \.CRT\$X)")},
    {"thread-local data", std::regex(R"(^ \.tls)")},
    {"a pseudo-relocation", std::regex(R"(^ \.rdata_runtime_pseudo_reloc$)")},
    {"an exception table", std::regex(R"(^ \.gcc_except_table)")},
    {"unwind information", std::regex(R"(^ \.eh_frame)")},
    {"the unwinder", std::regex(R"(libgcc_eh\.a\(|unwind-)")},
    {"an object of the C++ library", std::regex(R"(libstdc\+\+\.a\()")},
};

// Each input section of a map with bytes in it and not discarded: its name line, and the
// file it came from. The linker writes a long name on a line of its own, the address and size
// on the next.
TEST(LinkMap, ShippedProgramsHoldNoStartUpCodeUnwinderOrLibraryObjects) {
  const std::regex placed(R"(^ (\S+)?\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(.+)$)");
  for (const char* program : {"Pelorin", "setup_image"}) {
    const std::string path = std::string(PELORIN_LINK_MAPS) + "/" + program + ".map";
    std::ifstream map(path);
    ASSERT_TRUE(map) << path;
    std::string line, name;
    // The map first lists what the linker dropped, then what it placed.
    while (std::getline(map, line) && line != "Linker script and memory map") {
    }
    bool discarded = false;  // within the output section of what the linker drops
    int sections = 0;
    while (std::getline(map, line)) {
      if (!line.empty() && line[0] != ' ') discarded = line.rfind("/DISCARD/", 0) == 0;
      std::smatch match;
      if (!std::regex_match(line, match, placed)) {
        const bool nameAlone = line.size() > 1 && line[0] == ' ' && line[1] == '.' && line.find(' ', 1) == std::string::npos;
        name = nameAlone ? line : "";
        continue;
      }
      const std::string section = match[1].matched ? " " + match[1].str() : name;
      name.clear();
      if (discarded || std::stoul(match[2].str(), nullptr, 16) == 0) continue;
      ++sections;
      for (const Forbidden& forbidden : kForbidden)
        EXPECT_FALSE(std::regex_search(section, forbidden.input) || std::regex_search(match[3].str(), forbidden.input))
            << program << " holds " << forbidden.what << ": " << section << " " << match[3].str();
    }
    EXPECT_GT(sections, 100) << path << " lists no input sections: no map of a link";
  }
}

}  // namespace
