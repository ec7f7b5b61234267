// The plain HTTP file download: one GET straight to the server, no proxy, no progress, the file
// replaced only by a complete answer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vmk::platform {

struct PlainDownloadLimits {
  long connectSeconds = 15;
  long stallSeconds = 60;                           // a transfer receiving nothing this long fails
  std::int64_t maxBytes = std::int64_t{512} << 20;  // a larger body fails
};

// False when the network facility cannot be started.
bool StartNetwork();

// Downloads the URL into `file`. The body goes to a temporary file beside it, which replaces `file` only
// after a complete answer with a status below 400; after a failure `file` is as it was. An empty URL fails
// at once.
bool PlainHttpDownload(const std::string& url, const std::filesystem::path& file,
                       const PlainDownloadLimits& limits = {});

}  // namespace vmk::platform
