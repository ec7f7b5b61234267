#include "platform/http_download.h"

#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <system_error>

namespace vmk::platform {

namespace {

namespace fs = std::filesystem;

struct Body {
  std::FILE* out = nullptr;
  std::int64_t received = 0;
  std::int64_t maxBytes = 0;
};

std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& body = *static_cast<Body*>(user);
  const std::size_t bytes = size * count;
  body.received += static_cast<std::int64_t>(bytes);
  if (body.received > body.maxBytes) return 0;  // ends the transfer with a write error
  return std::fwrite(data, 1, bytes, body.out);
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

// A file of a unique name beside the target, removed again unless it was renamed.
class PartFile {
 public:
  explicit PartFile(const fs::path& target) {
    std::string pattern = target.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) return;
    ::fchmod(descriptor, 0644);  // as a file the program created itself, not mkstemp's private 0600
    path_ = pattern;
    out_ = ::fdopen(descriptor, "wb");
    if (out_ == nullptr) ::close(descriptor);
  }
  ~PartFile() {
    Close();
    std::error_code ignored;
    if (!path_.empty()) fs::remove(path_, ignored);
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  std::FILE* Stream() const { return out_; }
  bool Close() {
    if (out_ == nullptr) return true;
    const bool closed = std::fclose(out_) == 0;
    out_ = nullptr;
    return closed;
  }
  bool RenameTo(const fs::path& target) {
    std::error_code error;
    fs::rename(path_, target, error);
    if (error) return false;
    path_.clear();
    return true;
  }

 private:
  fs::path path_;
  std::FILE* out_ = nullptr;
};

bool Fetch(const std::string& url, Body& body, const PlainDownloadLimits& limits) {
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return false;
  CURL* handle = easy.get();
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(handle, CURLOPT_PROXY, "");  // direct, whatever the environment says
  curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  return curl_easy_perform(handle) == CURLE_OK;
}

}  // namespace

bool StartNetwork() {
  static const bool started = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return started;
}

bool PlainHttpDownload(const std::string& url, const fs::path& file, const PlainDownloadLimits& limits) {
  if (url.empty() || !StartNetwork()) return false;
  PartFile part(file);
  if (part.Stream() == nullptr) return false;
  Body body{part.Stream(), 0, limits.maxBytes};
  if (!Fetch(url, body, limits)) return false;
  return part.Close() && part.RenameTo(file);
}

}  // namespace vmk::platform
