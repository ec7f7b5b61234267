#include "update/download_client.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/registry.h"
#include "text/codec.h"
#include "text/cp1252.h"

namespace vmk::update {

struct ClientStatus {
  void Set(std::int32_t newCode, std::string newDetail = "") {
    std::lock_guard lock(mutex);
    code = newCode;
    detail = std::move(newDetail);
  }
  std::pair<std::int32_t, std::string> Get() {
    std::lock_guard lock(mutex);
    return {code, detail};
  }

  std::mutex mutex;
  std::int32_t code = kStatusNoError;
  std::string detail;
};

namespace {

using namespace std::chrono_literals;

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; ST)";
constexpr std::size_t kMaxErrorText = 256;
constexpr std::int64_t kUnknownLength = -1;
constexpr std::int64_t kNoLength = -2;
constexpr long kMinBufferSize = 1024;  // libcurl's bounds for its receive buffer
constexpr long kMaxBufferSize = CURL_MAX_READ_SIZE;
constexpr long kMaxRedirects = 10;
constexpr int kPollMilliseconds = 50;  // how soon the worker sees an abort while the server is silent
constexpr auto kAbortGrace = 1000ms;
constexpr auto kAcknowledgedGrace = 100ms;

enum AbortState { kRunning = 0, kAbortRequested = 1, kAbortAcknowledged = 2 };

class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int descriptor) : descriptor_(descriptor) {}
  FileHandle(FileHandle&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  FileHandle& operator=(FileHandle&& other) noexcept {
    Close();
    descriptor_ = std::exchange(other.descriptor_, -1);
    return *this;
  }
  ~FileHandle() { Close(); }

  explicit operator bool() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }
  void Close() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
  }

 private:
  int descriptor_ = -1;
};

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiCleanup {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct SlistCleanup {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;
using HeaderList = std::unique_ptr<curl_slist, SlistCleanup>;

bool CurlReady() {
  static std::once_flag once;
  static CURLcode result = CURLE_FAILED_INIT;
  std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
  return result == CURLE_OK;
}

std::string Limited(std::string text) {
  if (text.size() > kMaxErrorText) text.resize(kMaxErrorText);
  return text;
}

std::string CurlText(CURLcode code, const char* errorBuffer) {
  return Limited(errorBuffer != nullptr && errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code));
}

std::string StatusText(std::int32_t code, const std::string& detail) {
  switch (code) {
    case kStatusNoError:
      return "No Error";
    case kStatusCannotCreateFile:
      return "Unable to create File";
    case kStatusCannotStartThread:
      return "Unable to create Thread";
    case kStatusOutOfMemory:
      return "Not enough Memory";
    case kStatusSessionFailed:
      return "WinINet-Init failed;" + detail;
    case kStatusCannotConnect:
      return "Unable to connect to URL;" + detail;
    case kStatusReadFailed:
      return "Unable to open File on Server;" + detail;
    case kStatusAborted:
      return "User aborted!";
    case kStatusNoSuchJob:
      return "This was no real GetFile-Handle!";
    default:
      return "Win-Error;" + detail;
  }
}

// The proxy the user's system is configured for, as a libcurl proxy URL; "" for a direct connection.
std::string ConfiguredProxy() {
  const platform::Registry registry;
  if (registry.ReadDword(platform::RegistryRoot::CurrentUser, platform::kInternetSettingsKey,
                         "ProxyEnable") == 0)
    return "";
  const std::string server =
      registry.ReadString(platform::RegistryRoot::CurrentUser, platform::kInternetSettingsKey, "ProxyServer");
  return server.empty() ? "" : "http://" + server;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text::EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// The decimal number at the start of the text after blanks; -1 when there is none.
std::int64_t LeadingNumber(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return -1;
  std::int64_t value = -1;
  const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  return error == std::errc() ? value : -1;
}

}  // namespace

// Everything a request uses. The job record and the worker share it, so a worker left behind by Abort
// keeps it alive after the record has been freed.
struct JobState {
  // Fixed before the worker starts.
  std::string url;
  std::string authorization;  // the whole header line; empty without a user name
  std::int32_t requestFlags = kDefaultRequestFlags;
  int chunkSize = kDefaultChunkSize;
  long connectTimeout = -1;
  long stallSeconds = kDefaultStallSeconds;
  std::int64_t sizeLimit = kDefaultSizeLimit;
  CompletionCallback onCompletion;
  DownloadJob* handle = nullptr;  // passed to the callback, never dereferenced by the worker
  bool toMemory = false;
  FileHandle file;
  std::shared_ptr<ClientStatus> clientStatus;

  std::atomic<int> abortState{kRunning};
  std::atomic<std::int64_t> bytesReceived{0};
  std::atomic<std::int64_t> contentLength{kUnknownLength};

  std::mutex mutex;  // guards the members below
  std::condition_variable ended;
  bool running = false;
  std::int32_t lastError = kStatusNoError;
  std::string errorText;
  bool endedNormally = false;
  std::string data;  // the received bytes of a memory download

  void SetError(std::int32_t code, std::string text) {
    std::lock_guard lock(mutex);
    lastError = code;
    errorText = std::move(text);
  }
  // A failure of the request: the job's error and the client's status.
  void Fail(std::int32_t status, std::int32_t code, const std::string& text) {
    SetError(code, text);
    clientStatus->Set(status, text);
  }
  bool IsRunning() {
    std::lock_guard lock(mutex);
    return running;
  }
};

struct DownloadJob {
  std::shared_ptr<JobState> state;
  std::thread worker;
};

namespace {

// What the callbacks of one transfer saw.
struct Transfer {
  explicit Transfer(JobState& job) : job(job) {}

  JobState& job;
  bool followsRedirects = true;
  long blockStatus = 0;                       // HTTP status of the header block being read
  std::int64_t blockLength = kUnknownLength;  // its Content-Length
  bool answered = false;                      // the final answer's headers are in
  long httpError = 0;
  bool aborted = false;
  bool tooLarge = false;
  bool outOfMemory = false;
  int writeErrno = 0;
  std::int64_t total = 0;
};

// The end of a header block: the final answer sets the content length; an error answer or a length
// over the limit ends the transfer before any of the body is stored.
bool AcceptHeaders(Transfer& transfer) {
  const long status = transfer.blockStatus;
  if (status < 200) return true;  // an interim answer; the real one follows
  if (status >= 300 && status < 400 && transfer.followsRedirects) return true;
  if (status >= 400) {
    transfer.httpError = status;
    return false;
  }
  transfer.answered = true;
  transfer.job.contentLength = transfer.blockLength < 0 ? kNoLength : transfer.blockLength;
  if (transfer.blockLength > transfer.job.sizeLimit) {
    transfer.tooLarge = true;
    return false;
  }
  return true;
}

std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* context) {
  Transfer& transfer = *static_cast<Transfer*>(context);
  const std::size_t length = size * count;
  const std::string_view line(data, length);
  if (StartsWithIgnoringCase(line, "HTTP/")) {
    const std::size_t blank = line.find(' ');
    transfer.blockStatus = blank == std::string_view::npos ? 0 : LeadingNumber(line.substr(blank));
    transfer.blockLength = kUnknownLength;
  } else if (StartsWithIgnoringCase(line, "Content-Length:")) {
    transfer.blockLength = LeadingNumber(line.substr(std::string_view("Content-Length:").size()));
  } else if (line == "\r\n" || line == "\n") {
    return AcceptHeaders(transfer) ? length : 0;
  }
  return length;
}

bool WriteAll(int descriptor, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t written = ::write(descriptor, data, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

// One chunk of the body; returning less than its size ends the transfer.
std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* context) {
  Transfer& transfer = *static_cast<Transfer*>(context);
  JobState& job = transfer.job;
  const std::size_t length = size * count;
  if (job.abortState != kRunning) {
    transfer.aborted = true;
    return 0;
  }
  if (transfer.total + static_cast<std::int64_t>(length) > job.sizeLimit) {
    transfer.tooLarge = true;
    return 0;
  }
  if (job.toMemory) {
    try {
      std::lock_guard lock(job.mutex);
      job.data.append(data, length);
    } catch (const std::bad_alloc&) {
      transfer.outOfMemory = true;
      return 0;
    }
    job.bytesReceived += static_cast<std::int64_t>(length);
  } else if (!WriteAll(job.file.Descriptor(), data, length)) {
    transfer.writeErrno = errno;
    return 0;
  }
  transfer.total += static_cast<std::int64_t>(length);
  return length;
}

// Drives the transfer, looking at the abort request between the waits for the server.
CURLcode Perform(CURL* easy, Transfer& transfer) {
  const MultiHandle multi(curl_multi_init());
  if (!multi) return CURLE_OUT_OF_MEMORY;
  if (curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;
  struct Removal {
    CURLM* multi;
    CURL* easy;
    ~Removal() { curl_multi_remove_handle(multi, easy); }
  } removal{multi.get(), easy};

  int active = 1;
  while (active > 0) {
    if (transfer.job.abortState != kRunning) {
      transfer.aborted = true;
      return CURLE_ABORTED_BY_CALLBACK;
    }
    if (curl_multi_perform(multi.get(), &active) != CURLM_OK) return CURLE_FAILED_INIT;
    if (active > 0 && curl_multi_poll(multi.get(), nullptr, 0, kPollMilliseconds, nullptr) != CURLM_OK)
      return CURLE_FAILED_INIT;
  }
  int queued = 0;
  while (const CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
    if (message->msg == CURLMSG_DONE) return message->data.result;
  }
  return CURLE_FAILED_INIT;
}

long BufferSize(int chunkSize) {
  return std::clamp<long>(chunkSize <= 0 ? kDefaultChunkSize : chunkSize, kMinBufferSize, kMaxBufferSize);
}

// The request's options; the header list and the error buffer must outlive the transfer.
void Configure(CURL* easy, JobState& job, Transfer& transfer, curl_slist* headers, char* errorBuffer) {
  const std::string proxy = ConfiguredProxy();
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_URL, job.url.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
  // An empty proxy and no-proxy list keep the environment's proxy variables out of it.
  curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, transfer.followsRedirects ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, job.stallSeconds);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, BufferSize(job.chunkSize));
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeaderLine);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
}

// The extra request headers; nullptr when there are none.
HeaderList RequestHeaders(const JobState& job) {
  curl_slist* list = nullptr;
  const auto add = [&list](const char* line) {
    if (curl_slist* longer = curl_slist_append(list, line)) list = longer;
  };
  if ((job.requestFlags & kFlagPragmaNoCache) != 0) {
    add("Pragma: no-cache");
    add("Cache-Control: no-cache");
  }
  if (!job.authorization.empty()) add(job.authorization.c_str());
  return HeaderList(list);
}

// Records how a finished transfer went; true after a normal end.
bool Judge(JobState& job, const Transfer& transfer, CURLcode result, const char* errorBuffer) {
  if (transfer.aborted) {
    job.abortState = kAbortAcknowledged;
    job.Fail(kStatusAborted, kStatusAborted, "");
  } else if (transfer.outOfMemory || result == CURLE_OUT_OF_MEMORY) {
    job.Fail(kStatusOutOfMemory, kStatusOutOfMemory, "");
  } else if (transfer.httpError != 0) {
    job.Fail(kStatusReadFailed, static_cast<std::int32_t>(transfer.httpError),
             "HTTP " + std::to_string(transfer.httpError));
  } else if (transfer.tooLarge) {
    job.Fail(kStatusReadFailed, kCurlErrorBase + CURLE_FILESIZE_EXCEEDED,
             curl_easy_strerror(CURLE_FILESIZE_EXCEEDED));
  } else if (transfer.writeErrno != 0) {
    job.Fail(kStatusReadFailed, kCurlErrorBase + CURLE_WRITE_ERROR,
             Limited(std::generic_category().message(transfer.writeErrno)));
  } else if (result != CURLE_OK) {
    // Before the answer the URL could not be opened; afterwards the read failed.
    job.Fail(transfer.answered ? kStatusReadFailed : kStatusCannotConnect, kCurlErrorBase + result,
             CurlText(result, errorBuffer));
  } else {
    if (job.contentLength == kUnknownLength)
      job.contentLength = transfer.blockLength < 0 ? kNoLength : transfer.blockLength;
    return true;
  }
  return false;
}

// Opening the session, the URL and the transfer; true after a normal end.
bool Download(JobState& job, Transfer& transfer) {
  const EasyHandle easy(CurlReady() ? curl_easy_init() : nullptr);
  if (!easy) {
    job.Fail(kStatusSessionFailed, kCurlErrorBase + CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT));
    return false;
  }
  char errorBuffer[CURL_ERROR_SIZE] = {};
  const HeaderList headers = RequestHeaders(job);
  transfer.followsRedirects = (job.requestFlags & kFlagNoAutoRedirect) == 0;
  Configure(easy.get(), job, transfer, headers.get(), errorBuffer);

  // A timeout libcurl refuses is recorded, and the request goes on with its default.
  const long timeout = job.connectTimeout == -1 ? kDefaultConnectTimeoutMilliseconds : job.connectTimeout;
  if (const CURLcode result = curl_easy_setopt(easy.get(), CURLOPT_CONNECTTIMEOUT_MS, timeout);
      result != CURLE_OK)
    job.SetError(kCurlErrorBase + result, curl_easy_strerror(result));

  // No update server configured: nothing to contact.
  if (job.url.empty()) {
    job.Fail(kStatusCannotConnect, kCurlErrorBase + CURLE_URL_MALFORMAT,
             curl_easy_strerror(CURLE_URL_MALFORMAT));
    return false;
  }
  if (job.toMemory) {
    try {
      std::lock_guard lock(job.mutex);
      job.data.reserve(static_cast<std::size_t>(BufferSize(job.chunkSize)));
    } catch (const std::bad_alloc&) {
      job.Fail(kStatusOutOfMemory, kStatusOutOfMemory, "");
      return false;
    }
  }
  const CURLcode result = Perform(easy.get(), transfer);
  return Judge(job, transfer, result, errorBuffer);
}

// The worker steps of one request, run in the worker thread or in the caller's.
void RunRequest(JobState& job) {
  Transfer transfer(job);
  bool normalEnd = false;
  try {
    normalEnd = Download(job, transfer);
  } catch (...) {  // only allocations throw in there
    job.Fail(kStatusOutOfMemory, kStatusOutOfMemory, "");
  }
  job.file.Close();
  {
    std::lock_guard lock(job.mutex);
    job.endedNormally = normalEnd;
    if (job.toMemory) {
      if (!normalEnd) job.data.clear();
      job.data.shrink_to_fit();
      job.contentLength = transfer.total;
    }
  }
  if (!transfer.aborted && job.onCompletion) {
    try {
      job.onCompletion(job.handle);
    } catch (...) {  // the caller's callback must not end the worker thread with an exception
    }
  }
  std::lock_guard lock(job.mutex);
  job.running = false;
  job.ended.notify_all();
}

void RunHere(DownloadJob& job) {
  job.state->running = true;
  RunRequest(*job.state);
}

}  // namespace

DownloadClient::DownloadClient() : status_(std::make_shared<ClientStatus>()) {}

DownloadClient::~DownloadClient() {
  FreeAll();
}

bool DownloadClient::IsOwnJob(DownloadJob* job) {
  const bool own = job != nullptr && std::any_of(jobs_.begin(), jobs_.end(),
                                                 [job](const auto& kept) { return kept.get() == job; });
  if (!own) status_->Set(kStatusNoSuchJob);
  return own;
}

std::int32_t DownloadClient::GetError(DownloadJob* job) {
  if (job == nullptr) return status_->Get().first;
  if (!IsOwnJob(job)) return 0;
  std::lock_guard lock(job->state->mutex);
  return job->state->lastError;
}

std::string DownloadClient::GetErrorString(DownloadJob* job) {
  if (job == nullptr) {
    const auto [code, detail] = status_->Get();
    return StatusText(code, detail);
  }
  if (!IsOwnJob(job)) return "";
  std::lock_guard lock(job->state->mutex);
  return StatusText(job->state->lastError, job->state->errorText);
}

std::unique_ptr<DownloadJob> DownloadClient::NewJob(const std::string& url, const std::string& user,
                                                    const std::string& password, std::int32_t requestFlags,
                                                    CompletionCallback onCompletion, int chunkSize,
                                                    long connectTimeout) {
  try {
    auto job = std::make_unique<DownloadJob>();
    job->state = std::make_shared<JobState>();
    JobState& state = *job->state;
    if (!user.empty())
      state.authorization = "Authorization: Basic " + text::Base64Encode(user + ":" + password);
    state.requestFlags = requestFlags == -1 ? kDefaultRequestFlags : requestFlags;
    state.url = url;
    state.chunkSize = chunkSize;
    state.connectTimeout = connectTimeout;
    state.stallSeconds = stallSeconds_;
    state.sizeLimit = sizeLimit_;
    state.onCompletion = std::move(onCompletion);
    state.handle = job.get();
    state.clientStatus = status_;
    return job;
  } catch (const std::bad_alloc&) {
    status_->Set(kStatusOutOfMemory);
    return nullptr;
  }
}

DownloadJob* DownloadClient::StartWorker(std::unique_ptr<DownloadJob> job) {
  try {
    jobs_.reserve(jobs_.size() + 1);
    job->state->running = true;
    job->worker = std::thread([state = job->state] { RunRequest(*state); });
  } catch (const std::system_error&) {
    status_->Set(kStatusCannotStartThread);
    return nullptr;
  } catch (const std::bad_alloc&) {
    status_->Set(kStatusOutOfMemory);
    return nullptr;
  }
  jobs_.push_back(std::move(job));
  return jobs_.back().get();
}

FileRequestResult DownloadClient::GetFile(const std::string& url, const std::filesystem::path& file,
                                          const std::string& user, const std::string& password,
                                          std::int32_t requestFlags, CompletionCallback onCompletion,
                                          bool wait, int chunkSize, long connectTimeout) {
  FileHandle target(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!target) {
    status_->Set(kStatusCannotCreateFile);
    return {};
  }
  std::unique_ptr<DownloadJob> job =
      NewJob(url, user, password, requestFlags, std::move(onCompletion), chunkSize, connectTimeout);
  if (!job) return {};
  job->state->file = std::move(target);
  if (wait) {
    RunHere(*job);
    return {nullptr, job->state->endedNormally ? 1 : 0};
  }
  DownloadJob* started = StartWorker(std::move(job));
  return {started, started != nullptr ? 1 : 0};
}

MemoryRequestResult DownloadClient::GetFileToMemory(const std::string& url, const std::string& user,
                                                    const std::string& password, std::int32_t requestFlags,
                                                    CompletionCallback onCompletion, bool wait, int chunkSize,
                                                    long connectTimeout) {
  std::unique_ptr<DownloadJob> job =
      NewJob(url, user, password, requestFlags, std::move(onCompletion), chunkSize, connectTimeout);
  if (!job) return {};
  job->state->toMemory = true;
  if (wait) {
    RunHere(*job);
    if (!job->state->endedNormally) return {};
    return {nullptr, std::move(job->state->data)};
  }
  return {StartWorker(std::move(job)), std::nullopt};
}

const std::string* DownloadClient::GetMemory(DownloadJob* job) {
  if (!IsOwnJob(job)) return nullptr;
  JobState& state = *job->state;
  std::lock_guard lock(state.mutex);
  return state.toMemory && !state.running && state.endedNormally ? &state.data : nullptr;
}

std::string DownloadClient::GetURL(DownloadJob* job) {
  if (!IsOwnJob(job)) return "";
  return job->state->url;
}

std::optional<std::string> DownloadClient::Free(DownloadJob* job, bool freeData) {
  if (!IsOwnJob(job)) return std::nullopt;
  if (job->state->IsRunning()) Abort(job);
  if (job->worker.joinable()) job->worker.join();  // a worker that has ended; Abort detached any other
  std::optional<std::string> handedOver;
  {
    JobState& state = *job->state;
    std::lock_guard lock(state.mutex);
    if (!freeData && state.toMemory && !state.running && state.endedNormally)
      handedOver = std::move(state.data);
  }
  std::erase_if(jobs_, [job](const auto& kept) { return kept.get() == job; });
  return handedOver;
}

int DownloadClient::Abort(DownloadJob* job) {
  if (!IsOwnJob(job)) return 0;
  JobState& state = *job->state;
  std::unique_lock lock(state.mutex);
  if (!state.running) {
    lock.unlock();
    if (job->worker.joinable()) job->worker.join();
    return 1;
  }
  int expected = kRunning;
  state.abortState.compare_exchange_strong(expected, kAbortRequested);
  const auto ended = [&state] { return !state.running; };
  bool stopped = state.ended.wait_for(lock, kAbortGrace, ended);
  if (!stopped && state.abortState == kAbortAcknowledged)
    stopped = state.ended.wait_for(lock, kAcknowledgedGrace, ended);
  state.lastError = kStatusAborted;
  lock.unlock();
  if (!job->worker.joinable()) return stopped ? 1 : 0;  // left behind by an earlier Abort
  if (!stopped) {
    // A thread cannot be killed; left alone it sees the request within a poll interval and ends,
    // holding its own share of the job state.
    job->worker.detach();
    return 0;
  }
  job->worker.join();
  return 1;
}

bool DownloadClient::IsRunning(DownloadJob* job) {
  return IsOwnJob(job) && job->state->IsRunning();
}

std::int64_t DownloadClient::GetBytesReceived(DownloadJob* job) {
  return IsOwnJob(job) ? job->state->bytesReceived.load() : 0;
}

float DownloadClient::GetProgress(DownloadJob* job) {
  if (!IsOwnJob(job)) return 0;
  const std::int64_t length = job->state->contentLength;
  if (length <= 0) return 0;
  return static_cast<float>(job->state->bytesReceived.load()) / static_cast<float>(length);
}

std::int64_t DownloadClient::GetSize(DownloadJob* job) {
  return IsOwnJob(job) ? job->state->contentLength.load() : 0;
}

void DownloadClient::FreeAll() {
  // Ask every worker to stop first, so they wind down together rather than one after another.
  for (const auto& job : jobs_) {
    int expected = kRunning;
    job->state->abortState.compare_exchange_strong(expected, kAbortRequested);
  }
  while (!jobs_.empty()) Free(jobs_.back().get(), true);
}

bool DownloadToFile(const std::string& url, const std::filesystem::path& file) {
  DownloadClient client;
  return client.GetFile(url, file, "", "", -1, nullptr, true, kDefaultChunkSize, -1).outcome == 1;
}

}  // namespace vmk::update
