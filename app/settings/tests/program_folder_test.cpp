// Where an installed, a portable and a read-only program keep their files,
// decided from a fake machine so that every layout is tried.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/settings/program_folder.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

fs::path Folder(const fs::path& p) { return (p / "").lexically_normal(); }

struct FakeMachine {
  std::set<fs::path> dataFolders;      // folders holding EvalFunc/
  std::set<fs::path> writable;
  std::map<std::string, std::string> env;

  TFolderProbe Probe() const {
    return {[this](const fs::path& p) {
              return p.filename() == "EvalFunc" && dataFolders.count(Folder(p.parent_path())) > 0;
            },
            [this](const fs::path& p) { return writable.count(Folder(p)) > 0; },
            [this](const char* name) {
              auto it = env.find(name);
              return it == env.end() ? std::string() : it->second;
            }};
  }
};

TEST(ProgramFolders, EachLayoutKeepsItsFilesWhereTheUserExpects) {
  struct Case {
    const char* what;
    FakeMachine machine;
    fs::path exe;
    fs::path program, config, data;
    bool installed;
  };
  const std::map<std::string, std::string> home{{"HOME", "/home/ann"}};
  const std::map<std::string, std::string> xdg{
      {"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/xdata"}};
  const Case cases[] = {
      {"portable build folder", {{"/b/bin/"}, {"/b/bin/"}, home}, "/b/bin/", "/b/bin/", "/b/bin/", "/b/bin/", false},
      {"portable folder on a read-only medium",
       {{"/cd/k/"}, {}, home},
       "/cd/k/",
       "/cd/k/",
       "/home/ann/.config/kestrel/",
       "/home/ann/.local/share/kestrel/",
       false},
      {"installed under /usr",
       {{"/usr/share/kestrel/"}, {}, home},
       "/usr/bin/",
       "/usr/share/kestrel/",
       "/home/ann/.config/kestrel/",
       "/home/ann/.local/share/kestrel/",
       true},
      {"installed in a writable prefix still keeps user files apart",
       {{"/opt/k/share/kestrel/"}, {"/opt/k/share/kestrel/", "/opt/k/bin/"}, xdg},
       "/opt/k/bin/",
       "/opt/k/share/kestrel/",
       "/cfg/kestrel/",
       "/xdata/kestrel/",
       true},
      {"relative XDG values are ignored",
       {{"/usr/share/kestrel/"}, {}, {{"HOME", "/h"}, {"XDG_CONFIG_HOME", "rel"}, {"XDG_DATA_HOME", "x"}}},
       "/usr/bin/",
       "/usr/share/kestrel/",
       "/h/.config/kestrel/",
       "/h/.local/share/kestrel/",
       true},
      {"no data anywhere: the executable's folder is tried",
       {{}, {"/e/"}, home},
       "/e/",
       "/e/",
       "/e/",
       "/e/",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TProgramFolders f = ResolveProgramFolders(c.exe, c.machine.Probe());
    EXPECT_EQ(f.program, c.program);
    EXPECT_EQ(f.config, c.config);
    EXPECT_EQ(f.data, c.data);
    EXPECT_EQ(f.installed, c.installed);
  }
}

}  // namespace
}  // namespace kestrel
