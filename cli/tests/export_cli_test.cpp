// kestrel-cli export: text diagrams, positions in words and RTF documents,
// end to end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "run_cli.h"
#include "test_support/local_ftp_server.h"
#include "test_support/temp_dir.h"

namespace {

using kestrel::testing::RunCliCommand;

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ExportCli, TextDiagramOfTheRussianStart) {
  const auto r = RunCliCommand("export text --variant russian --fen W:Wa1,b2,c1,c3,d2,e1,e3,f2,g1,g3,h2,a3:"
                               "Bb6,a7,b8,c7,d6,d8,e7,f6,f8,g7,h6,h8");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "5111111116\r\n4 e e e e3\r\n4e e e e 3\r\n4 e e e e3\r\n4i i i i 3\r\n"
            "4 i i i i3\r\n4f f f f 3\r\n4 f f f f3\r\n4f f f f 3\r\n7222222228\r\n");
}

TEST(ExportCli, BadPositionsAreRefused) {
  for (const char* args : {"export words --variant nowhere --fen W:W1", "export text --variant 6 --fen W:W99",
                           "export words --variant 6"}) {
    const auto r = RunCliCommand(args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_TRUE(r.out.empty()) << args;
    EXPECT_FALSE(r.err.empty()) << args;
  }
}

TEST(ExportCli, RtfOfDatabaseGames) {
  kestrel::testing::TempDir dir;
  std::ofstream(dir.path() / "g.pdn", std::ios::binary)
      << "[White \"A\"]\r\n[Black \"B\"]\r\n[GameType \"20\"]\r\n\r\n1. 32-28 19-23 2. 28x19 14x23 1-0\r\n\r\n"
      << "[White \"C\"]\r\n[GameType \"20\"]\r\n[FEN \"W:W28:B23\"]\r\n\r\n1. 28x19 {won [#]} 1-0\r\n\r\n";
  const std::string db = (dir.path() / "g.abd").string();
  ASSERT_EQ(RunCliCommand("pdn import " + (dir.path() / "g.pdn").string() + " " + db).exitCode, 0);

  const auto r = RunCliCommand("export rtf " + db + " 2,1 " + (dir.path() / "games.RTF").string());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string rtf = Slurp(dir.path() / "games.rtf");
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  // In the order asked for, numbered from 1.
  EXPECT_LT(rtf.find("1. C"), rtf.find("2. A - B"));
  EXPECT_NE(rtf.find("\\f1\\qc"), std::string::npos);

  const auto pictures = RunCliCommand("export rtf " + db + " all " + (dir.path() / "p").string() + " --diagrams picture");
  EXPECT_EQ(pictures.exitCode, 0) << pictures.err;
  const std::string withPictures = Slurp(dir.path() / "p.rtf");
  EXPECT_NE(withPictures.find("\\pngblip"), std::string::npos);
  EXPECT_EQ(withPictures.find("\\f1\\qc"), std::string::npos);

  // A folder that cannot be written: a message, and no file left behind.
  std::filesystem::create_directory(dir.path() / "locked");
  std::filesystem::permissions(dir.path() / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {
    const auto refused = RunCliCommand("export rtf " + db + " 1 " + (dir.path() / "locked" / "x.rtf").string());
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("cannot create"), std::string::npos) << refused.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "locked"));
  }
  const auto missing = RunCliCommand("export rtf " + db + " 1 " + (dir.path() / "no" / "x.rtf").string());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_FALSE(missing.err.empty());
  EXPECT_EQ(RunCliCommand("export rtf " + db + " 3 " + (dir.path() / "y.rtf").string()).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "y.rtf"));
}

}  // namespace

namespace {

TEST(ExportCli, GifFileAndItsSize) {
  kestrel::testing::TempDir dir;
  const auto r = RunCliCommand("export gif --variant brazilian --size 345 --reversed " + dir.File("board.GIF"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string gif = Slurp(dir.path() / "board.gif");
  ASSERT_GE(gif.size(), 10u);
  EXPECT_EQ(gif.substr(0, 3), "GIF");
  // The logical screen: 345 by 345, little-endian.
  EXPECT_EQ(static_cast<unsigned char>(gif[6]) | static_cast<unsigned char>(gif[7]) << 8, 345);
  EXPECT_EQ(static_cast<unsigned char>(gif[8]) | static_cast<unsigned char>(gif[9]) << 8, 345);
  for (const char* size : {"300", "0", "1035", "big"}) {
    const auto refused = RunCliCommand(std::string("export gif --variant 1 --size ") + size + " " + dir.File("x.gif"));
    EXPECT_EQ(refused.exitCode, 2) << size;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.gif"));
  EXPECT_EQ(RunCliCommand("export gif --variant 1 " + (dir.path() / "none" / "x.gif").string()).exitCode, 1);
}

TEST(ExportCli, FontBuildIsTheShippedFont) {
  kestrel::testing::TempDir dir;
  const auto r = RunCliCommand("font build " + dir.File("k.ttf"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Slurp(dir.path() / "k.ttf") == Slurp(std::filesystem::path(KESTREL_SOURCE_DIR) / "data/Fonts/KestrelDraughts.ttf"));
}

}  // namespace

namespace {

// The gallery of a settings file, uploaded to a server on this machine.
TEST(ExportCli, UploadToTheConfiguredGallery) {
  kestrel::testing::TempDir dir, serverRoot;
  kestrel::testing::LocalFtpServer server(serverRoot.path(), "kestrel", "pw");
  if (!server.ok()) GTEST_SKIP() << server.error();
  static constexpr char bytes[] = "GIF89a\r\n\0\x1a picture bytes";
  const std::string picture(bytes, sizeof bytes - 1);
  std::ofstream(dir.path() / "board.gif", std::ios::binary) << picture;
  const auto settings = [&](const std::string& name, const std::string& ftp) {
    const auto path = dir.path() / name;
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF[Main]\r\nSound=0\r\n[FTP]\r\n" << ftp;
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return path.string();
  };
  const std::string gallery = "Site=" + server.site() + "\r\nFolder=pub\r\nWebFolder=https://example.org/d\r\n";
  const std::string good = settings("good.ini", gallery + "User=kestrel\r\nPass=pw\r\nAllowPlain=1\r\n");
  const std::string wrong = settings("wrong.ini", gallery + "User=kestrel\r\nPass=nope\r\nAllowPlain=1\r\n");
  const std::string plain = settings("plain.ini", gallery + "User=kestrel\r\nPass=pw\r\n");
  const std::string none = settings("none.ini", "User=kestrel\r\n");
  const std::string gif = (dir.path() / "board.gif").string();

  struct Case {
    std::string args;
    int exitCode;
    std::string out, errPart;
  };
  const Case cases[] = {
      {gif + " --settings " + none, 2, "", "[FTP]"},
      {gif + " --settings " + (dir.path() / "absent.ini").string(), 2, "", "not found"},
      {(dir.path() / "absent.gif").string() + " --settings " + good, 2, "", "no such file"},
      {gif + " --settings " + good + " --name ../x.gif", 2, "", "--name"},
      {gif + " --settings " + wrong, 1, "", "530"},
      // No TLS offered and plain FTP not allowed: refused before the account is sent.
      {gif + " --settings " + plain, 1, "", "AllowPlain=1"},
      {gif + " --settings " + good + " --name a.gif", 0, "https://example.org/d/a.gif\n", ""},
      {gif + " --settings " + plain + " --allow-plain --name b.gif", 0, "https://example.org/d/b.gif\n", ""},
  };
  for (const Case& c : cases) {
    const bool userSentBefore = server.received("USER");
    const auto r = RunCliCommand("export upload " + c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.args;
    EXPECT_NE(r.err.find(c.errPart), std::string::npos) << c.args << "\n" << r.err;
    if (c.errPart == "AllowPlain=1") {
      EXPECT_EQ(server.received("USER"), userSentBefore) << r.err;
    }
  }
  EXPECT_EQ(Slurp(serverRoot.path() / "pub" / "a.gif"), picture);
  EXPECT_EQ(Slurp(serverRoot.path() / "pub" / "b.gif"), picture);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(serverRoot.path() / "pub"), {}), 2);

  // A password in a file others can read is uploaded, with a warning.
  std::filesystem::permissions(good, std::filesystem::perms::others_read, std::filesystem::perm_options::add);
  const auto warned = RunCliCommand("export upload " + gif + " --settings " + good);
  EXPECT_EQ(warned.exitCode, 0) << warned.err;
  EXPECT_NE(warned.err.find("chmod 600"), std::string::npos) << warned.err;
}

}  // namespace
