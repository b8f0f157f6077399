// Uploading a file to an FTP server (libcurl): encrypted (FTPS, explicit
// TLS) whenever the server offers it, unencrypted only when the user has
// allowed it for a server without TLS.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace kestrel {

// The gallery as the user configured it (settings section "FTP").
struct TFtpTarget {
  std::string site;    // host, or host:port
  std::string folder;  // remote folder, may be empty
  std::string user;
  std::string password;
  std::string webFolder;  // public address of the folder, for the link
  bool allowPlain = false;
};

// Whether a gallery is configured: a site and a public address.
bool IsGalleryConfigured(const TFtpTarget& target);

enum class TUploadStatus {
  done,
  cancelled,
  noTls,   // the server offers no TLS and plain FTP is not allowed
  failed,  // the message says why (curl's words)
};

struct TUploadResult {
  TUploadStatus status = TUploadStatus::failed;
  std::string message;
};

// Called now and then with the bytes sent and the total; returning false
// cancels the upload.
using TUploadProgress = std::function<bool(int64_t sent, int64_t total)>;

// Stores `local` as `remoteName` in the target's folder, creating missing
// folders: sent as `remoteName` + ".part", then renamed, so that nothing
// incomplete appears under the real name. Safe to run on a worker thread
// (each call has its own curl handle).
TUploadResult UploadFile(const TFtpTarget& target, const std::filesystem::path& local, const std::string& remoteName,
                         const TUploadProgress& progress = {});

// Ten random characters of 0-9 and a-z, then ".gif".
std::string RandomGalleryName(std::mt19937& random);

// The picture's public address: the web folder, a "/" when it lacks one,
// then the file name.
std::string GalleryAddress(const TFtpTarget& target, const std::string& name);

// The HTML element put on the clipboard after an upload.
std::string GalleryImgElement(const std::string& address);

}  // namespace kestrel
