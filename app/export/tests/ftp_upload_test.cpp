// The gallery upload against a small FTP server on this machine: what is
// stored, what is refused, and what is never sent.
#include "app/export/ftp_upload.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "test_support/local_ftp_server.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct UploadCase {
  const char* name;
  const char* user;
  const char* password;
  bool allowPlain;
  bool cancel;
  TUploadStatus status;
  bool stored;
  bool passwordSent;
};

void PrintTo(const UploadCase& c, std::ostream* os) { *os << c.name; }

class FtpUploadTest : public ::testing::TestWithParam<UploadCase> {};

TEST_P(FtpUploadTest, AgainstALocalServer) {
  const UploadCase& c = GetParam();
  testing::TempDir serverRoot, local;
  testing::LocalFtpServer server(serverRoot.path(), "gallery", "s3cret");
  if (!server.ok()) GTEST_SKIP() << server.error();

  // Binary content with line ends and zeros, larger than one network buffer.
  std::mt19937 random(7);
  std::string picture(600000, '\0');
  for (auto& ch : picture) ch = static_cast<char>(random() % 5 == 0 ? '\r' : random() % 256);
  const auto file = local.path() / "board.gif";
  std::ofstream(file, std::ios::binary) << picture;

  const TFtpTarget target{server.site(), "/pics/2026", c.user, c.password, "https://example.org/pics", c.allowPlain};
  // Cancel once the transfer is under way.
  const TUploadResult result = UploadFile(target, file, "abc.gif", [&](int64_t sent, int64_t) {
    return !(c.cancel && sent > 0);
  });
  EXPECT_EQ(result.status, c.status) << result.message;
  const auto stored = serverRoot.path() / "pics" / "2026" / "abc.gif";
  EXPECT_EQ(std::filesystem::exists(stored), c.stored);
  if (c.stored) {
    EXPECT_TRUE(Slurp(stored) == picture) << "the stored file differs from the local one";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(stored.parent_path()), {}), 1);  // no working file
  } else if (!c.cancel) {
    EXPECT_TRUE(std::filesystem::is_empty(serverRoot.path()));
  }
  EXPECT_EQ(server.received("PASS"), c.passwordSent);
  if (c.status == TUploadStatus::failed) {
    EXPECT_NE(result.message.find("530"), std::string::npos) << result.message;
  }
  if (c.status == TUploadStatus::noTls) {
    EXPECT_FALSE(server.received("USER"));
  }
  if (c.cancel) {
    EXPECT_TRUE(server.received("STOR"));
    EXPECT_FALSE(server.received("RNTO"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtpUploadTest,
    ::testing::Values(
        UploadCase{"GoodLogin", "gallery", "s3cret", true, false, TUploadStatus::done, true, true},
        UploadCase{"WrongPassword", "gallery", "guess", true, false, TUploadStatus::failed, false, true},
        UploadCase{"WrongAccount", "visitor", "s3cret", true, false, TUploadStatus::failed, false, true},
        // Without TLS and without the user's consent not even the account name leaves.
        UploadCase{"PlainNotAllowed", "gallery", "s3cret", false, false, TUploadStatus::noTls, false, false},
        UploadCase{"Cancelled", "gallery", "s3cret", true, true, TUploadStatus::cancelled, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FtpUpload, MissingFileAndNoServer) {
  testing::TempDir dir;
  const TFtpTarget target{"127.0.0.1:1", "", "a", "b", "https://example.org/", true};
  const auto missing = UploadFile(target, dir.path() / "none.gif", "x.gif");
  EXPECT_EQ(missing.status, TUploadStatus::failed);
  EXPECT_NE(missing.message.find("none.gif"), std::string::npos) << missing.message;

  std::ofstream(dir.path() / "a.gif") << "GIF89a";
  const auto refused = UploadFile(target, dir.path() / "a.gif", "x.gif");
  EXPECT_EQ(refused.status, TUploadStatus::failed);
  EXPECT_FALSE(refused.message.empty());
}

}  // namespace
}  // namespace kestrel
