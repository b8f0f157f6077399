#include "app/export/ftp_upload.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

namespace kestrel {
namespace {

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A path segment with the characters that mean something in a URL escaped.
std::string Escaped(const std::string& text) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

// The host (and port) of a site as users paste it: "ftp://host/" is "host".
std::string SiteHost(std::string site) {
  for (const char* scheme : {"ftp://", "ftps://"})
    if (site.rfind(scheme, 0) == 0) site.erase(0, std::strlen(scheme));
  if (const size_t slash = site.find('/'); slash != std::string::npos) site.erase(slash);
  return site;
}

struct TProgressState {
  const TUploadProgress* progress;
  bool cancelled = false;
};

int OnProgress(void* data, curl_off_t, curl_off_t, curl_off_t total, curl_off_t sent) {
  auto* state = static_cast<TProgressState*>(data);
  if (state->progress && *state->progress && !(*state->progress)(sent, total)) {
    state->cancelled = true;
    return 1;
  }
  return 0;
}

}  // namespace

bool IsGalleryConfigured(const TFtpTarget& target) { return !target.site.empty() && !target.webFolder.empty(); }

TUploadResult UploadFile(const TFtpTarget& target, const std::filesystem::path& local, const std::string& remoteName,
                         const TUploadProgress& progress) {
  InitCurlOnce();
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(local.c_str(), "rb"), std::fclose);
  if (!file) return {TUploadStatus::failed, "cannot read " + local.string()};
  std::error_code ec;
  const auto size = std::filesystem::file_size(local, ec);
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return {TUploadStatus::failed, "the FTP library cannot start"};

  std::string folder = target.folder;
  while (!folder.empty() && folder.front() == '/') folder.erase(0, 1);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  // The picture goes up under a working name and is renamed once complete,
  // so that a cancelled or broken transfer never shows under the real name.
  const std::string partName = remoteName + ".part";
  const std::string url = "ftp://" + SiteHost(target.site) + "/" + Escaped(folder) + Escaped(partName);
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> rename(curl_slist_append(nullptr, ("RNFR " + partName).c_str()),
                                                          curl_slist_free_all);
  // Appending keeps the head of the list.
  if (!rename || !curl_slist_append(rename.get(), ("RNTO " + remoteName).c_str()))
    return {TUploadStatus::failed, "out of memory"};
  char error[CURL_ERROR_SIZE] = {};
  TProgressState state{&progress};
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_USERNAME, target.user.c_str());
  curl_easy_setopt(c, CURLOPT_PASSWORD, target.password.c_str());
  curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(c, CURLOPT_POSTQUOTE, rename.get());
  curl_easy_setopt(c, CURLOPT_READDATA, file.get());
  if (!ec) curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
  curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(target.allowPlain ? CURLUSESSL_TRY : CURLUSESSL_ALL));
  curl_easy_setopt(c, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
  // A stalled transfer (under 1 byte/s for a minute) ends with an error.
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &state);
  const CURLcode code = curl_easy_perform(c);
  if (code == CURLE_OK) return {TUploadStatus::done, {}};
  if (state.cancelled) return {TUploadStatus::cancelled, "cancelled"};
  const std::string why = error[0] ? std::string(error) : std::string(curl_easy_strerror(code));
  if (code == CURLE_USE_SSL_FAILED) return {TUploadStatus::noTls, why};
  return {TUploadStatus::failed, why};
}

std::string RandomGalleryName(std::mt19937& random) {
  static constexpr char chars[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::uniform_int_distribution<int> pick(0, 35);
  std::string name;
  for (int i = 0; i < 10; ++i) name += chars[pick(random)];
  return name + ".gif";
}

std::string GalleryAddress(const TFtpTarget& target, const std::string& name) {
  std::string address = target.webFolder;
  if (!address.empty() && address.back() != '/') address += '/';
  return address + name;
}

std::string GalleryImgElement(const std::string& address) { return "<img src=\"" + address + "\">"; }

}  // namespace kestrel
