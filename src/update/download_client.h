// The HTTP download client: fetches one URL into a file or into memory over libcurl, in the caller's
// thread or in a worker thread of its own, through the user's proxy from the internet settings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vmk::update {

// The client's status codes; a job's error uses 0, 3 and 7 of them too.
inline constexpr std::int32_t kStatusNoError = 0;
inline constexpr std::int32_t kStatusCannotCreateFile = 1;
inline constexpr std::int32_t kStatusCannotStartThread = 2;
inline constexpr std::int32_t kStatusOutOfMemory = 3;
inline constexpr std::int32_t kStatusSessionFailed = 4;
inline constexpr std::int32_t kStatusCannotConnect = 5;
inline constexpr std::int32_t kStatusReadFailed = 6;
inline constexpr std::int32_t kStatusAborted = 7;
inline constexpr std::int32_t kStatusNoSuchJob = 8;

// A job's error after a libcurl failure is this base plus the CURLcode (the range of the Windows
// internet API's own errors, so it never meets a status code); after an HTTP error answer it is the
// HTTP status (404, 500...).
inline constexpr std::int32_t kCurlErrorBase = 12000;

// Request flags; -1 stands for kDefaultRequestFlags.
inline constexpr std::int32_t kFlagNoCacheWrite = 0x04000000;
inline constexpr std::int32_t kFlagPragmaNoCache = 0x00000100;  // sends Pragma and Cache-Control: no-cache
inline constexpr std::int32_t kFlagNoAutoRedirect = 0x00200000;
inline constexpr std::int32_t kDefaultRequestFlags = kFlagNoCacheWrite | kFlagPragmaNoCache;

inline constexpr int kDefaultChunkSize = 65536;
inline constexpr long kDefaultConnectTimeoutMilliseconds = 15000;  // for a connect timeout of -1
inline constexpr long kDefaultStallSeconds = 60;
inline constexpr std::int64_t kDefaultSizeLimit = std::int64_t{512} << 20;

// One request; callers only pass it back to the client that started it.
struct DownloadJob;
// The client's status and the detail text of its last failure, shared with its workers.
struct ClientStatus;

// Called from the worker thread when a request ends without an abort. A background job may be handed
// to the client's operations only on the client's own thread, so the callback should pass it there.
using CompletionCallback = std::function<void(DownloadJob* job)>;

struct FileRequestResult {
  DownloadJob* job = nullptr;  // background: the started job, nullptr when it could not start
  int outcome = 0;             // synchronous: 1 after a normal end, 0 after a failure or an abort;
                               // background: 1 when the job started
};

struct MemoryRequestResult {
  DownloadJob* job = nullptr;       // background: the started job, nullptr when it could not start
  std::optional<std::string> data;  // synchronous: the received bytes after a normal end
};

class DownloadClient {
 public:
  DownloadClient();
  ~DownloadClient();  // frees every job, as FreeAll
  DownloadClient(const DownloadClient&) = delete;
  DownloadClient& operator=(const DownloadClient&) = delete;

  // The job's last error, or with nullptr the client's status.
  std::int32_t GetError(DownloadJob* job);
  // The text of that code: "No Error", "Unable to connect to URL;<detail>", "Win-Error;<detail>"...
  std::string GetErrorString(DownloadJob* job);

  // Creates or truncates the file first, then downloads into it. wait = true runs the request here;
  // false starts a worker and returns the job, which stays with the client until Free or FreeAll.
  // requestFlags -1, chunkSize <= 0 and connectTimeout -1 (milliseconds otherwise) are the defaults.
  FileRequestResult GetFile(const std::string& url, const std::filesystem::path& file,
                            const std::string& user, const std::string& password, std::int32_t requestFlags,
                            CompletionCallback onCompletion, bool wait, int chunkSize, long connectTimeout);
  MemoryRequestResult GetFileToMemory(const std::string& url, const std::string& user,
                                      const std::string& password, std::int32_t requestFlags,
                                      CompletionCallback onCompletion, bool wait, int chunkSize,
                                      long connectTimeout);

  // The received bytes of a memory job that has ended normally, valid until the job is freed;
  // nullptr for a file job, a running or failed one.
  const std::string* GetMemory(DownloadJob* job);
  std::string GetURL(DownloadJob* job);
  // Aborts a running worker first. With freeData false the received bytes of a memory job are handed
  // to the caller; with true they go with the job.
  std::optional<std::string> Free(DownloadJob* job, bool freeData);
  // 1 when the worker stopped by itself within the grace time, 0 when it had to be left behind (it
  // ends on its own soon after, touching nothing of the job record).
  int Abort(DownloadJob* job);
  bool IsRunning(DownloadJob* job);
  // Counted for memory jobs; a file job keeps 0.
  std::int64_t GetBytesReceived(DownloadJob* job);
  // Bytes received / content length; 0 while the length is unknown.
  float GetProgress(DownloadJob* job);
  // -1 before the answer, -2 when the server sends no length; the received total of a memory job
  // once it has ended.
  std::int64_t GetSize(DownloadJob* job);
  void FreeAll();

  // Limits of the requests started afterwards: a transfer that receives nothing for this long fails,
  // and so does a body larger than the limit.
  void SetStallSeconds(long seconds) { stallSeconds_ = seconds; }
  void SetSizeLimit(std::int64_t bytes) { sizeLimit_ = bytes; }

 private:
  // False (and status 8) when the job is not one of this client's.
  bool IsOwnJob(DownloadJob* job);
  std::unique_ptr<DownloadJob> NewJob(const std::string& url, const std::string& user,
                                      const std::string& password, std::int32_t requestFlags,
                                      CompletionCallback onCompletion, int chunkSize, long connectTimeout);
  // Starts the job's worker and keeps the job; nullptr when the worker did not start.
  DownloadJob* StartWorker(std::unique_ptr<DownloadJob> job);

  std::shared_ptr<ClientStatus> status_;
  std::vector<std::unique_ptr<DownloadJob>> jobs_;
  long stallSeconds_ = kDefaultStallSeconds;
  std::int64_t sizeLimit_ = kDefaultSizeLimit;
};

// What the main program does for a download: a fresh client, no credentials, default flags, no
// notice, synchronous, 64 KiB chunks, default connect timeout. True after a normal end.
bool DownloadToFile(const std::string& url, const std::filesystem::path& file);

}  // namespace vmk::update
