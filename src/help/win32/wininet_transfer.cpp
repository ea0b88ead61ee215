#include "help/win32/wininet_transfer.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "common/ascii_case.h"
#include "common/win32/scoped_handles.h"

namespace melodane::win32 {

namespace {

constexpr DWORD kRequestFlags = INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD |
                                INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                                INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_COOKIES;
// How long a fetch given up waits for its thread to notice.
constexpr DWORD kGiveUpMs = 100;

bool IsHttps(std::string_view address) {
  constexpr std::string_view kScheme = "https://";
  if (address.size() <= kScheme.size()) return false;
  return SameIgnoringAsciiCase(address.substr(0, kScheme.size()), kScheme);
}

// What the fetching thread and the caller share; the last of them to go frees it.
struct Fetching {
  explicit Fetching(std::string first_address) : address(std::move(first_address)) {}
  const std::string address;
  std::mutex mutex;
  HINTERNET session = nullptr;  // closed by the caller when it gives up
  bool given_up = false;
  std::optional<std::string> body;
};

std::optional<DWORD> StatusCode(HINTERNET request) {
  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return std::nullopt;
  }
  return status;
}

std::string Location(HINTERNET request) {
  std::string text(1024, '\0');
  DWORD size = static_cast<DWORD>(text.size());
  if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr)) {
    // The size asked for when the text does not fit counts its NUL.
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    text.assign(size, '\0');
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr)) return {};
  }
  text.resize(size);
  return text;
}

std::optional<std::string> ReadBody(HINTERNET request) {
  std::string body;
  char chunk[4096];
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request, chunk, sizeof chunk, &got)) return std::nullopt;
    if (got == 0) return body;
    if (body.size() + got > VersionTransfer::kMostBodyBytes) return std::nullopt;
    body.append(chunk, got);
  }
}

// The fetching thread's side. The caller may close the session at any moment, which
// closes every handle under it too: from then on no handle here is this thread's to
// close, and a call on one fails.
class Fetcher {
 public:
  explicit Fetcher(std::shared_ptr<Fetching> shared) : shared_(std::move(shared)) {}
  Fetcher(const Fetcher&) = delete;
  Fetcher& operator=(const Fetcher&) = delete;
  ~Fetcher() {
    const std::lock_guard lock(shared_->mutex);
    if (shared_->given_up) return;
    if (request_) InternetCloseHandle(request_);
    if (session_) InternetCloseHandle(session_);
    shared_->session = nullptr;
  }

  void Run() {
    HINTERNET session =
        InternetOpenA("Melodane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) return;
    {
      const std::lock_guard lock(shared_->mutex);
      if (shared_->given_up) {
        InternetCloseHandle(session);
        return;
      }
      session_ = shared_->session = session;
    }
    std::optional<std::string> body = Get();
    const std::lock_guard lock(shared_->mutex);
    shared_->body = std::move(body);
  }

 private:
  std::optional<std::string> Get() {
    std::string address = shared_->address;
    for (int redirects = 0;; ++redirects) {
      if (!KeepRequest(InternetOpenUrlA(session_, address.c_str(), nullptr, 0, kRequestFlags, 0))) {
        return std::nullopt;
      }
      const std::optional<DWORD> status = StatusCode(request_);
      if (!status) return std::nullopt;
      if (*status >= 200 && *status < 300) return ReadBody(request_);
      if (*status < 300 || *status >= 400 || redirects == VersionTransfer::kMostRedirects)
        return std::nullopt;
      address = Location(request_);
      if (!IsHttps(address)) return std::nullopt;
    }
  }

  // Takes the request just opened in place of the one before; false when there is none,
  // or when the caller has given up (the session's closing closed it).
  bool KeepRequest(HINTERNET opened) {
    const std::lock_guard lock(shared_->mutex);
    if (shared_->given_up) return false;
    if (request_) InternetCloseHandle(request_);
    request_ = opened;
    return opened != nullptr;
  }

  std::shared_ptr<Fetching> shared_;
  HINTERNET session_ = nullptr, request_ = nullptr;
};

DWORD WINAPI FetchThread(void* parameter) {
  std::unique_ptr<std::shared_ptr<Fetching>> shared(
      static_cast<std::shared_ptr<Fetching>*>(parameter));
  Fetcher(std::move(*shared)).Run();
  return 0;
}

// Waits for the thread until the deadline, painting the program's windows meanwhile;
// whether it ended.
bool WaitUntil(HANDLE thread, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    const DWORD woke = MsgWaitForMultipleObjects(
        1, &thread, FALSE, static_cast<DWORD>(left.count()), QS_PAINT | QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
  }
}

}  // namespace

std::string WininetTransfer::Fetch(const std::string& address, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  if (!IsHttps(address)) return {};
  auto shared = std::make_shared<Fetching>(address);
  auto parameter = std::make_unique<std::shared_ptr<Fetching>>(shared);
  const ScopedHandle thread(CreateThread(nullptr, 0, &FetchThread, parameter.get(), 0, nullptr));
  if (!thread) return {};
  parameter.release();  // the thread's now
  if (!WaitUntil(thread.get(), deadline)) {
    {
      // Closing the session ends the calls blocked on it. Wine's go on until the server
      // lets go; the thread then finds it was given up and leaves.
      const std::lock_guard lock(shared->mutex);
      shared->given_up = true;
      if (shared->session) InternetCloseHandle(shared->session);
      shared->session = nullptr;
    }
    WaitForSingleObject(thread.get(), kGiveUpMs);
    return {};
  }
  const std::lock_guard lock(shared->mutex);
  return shared->body.value_or(std::string());
}

}  // namespace melodane::win32
