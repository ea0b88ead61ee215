#include "help/linux/curl_transfer.h"

#include <curl/curl.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace melodane::on_linux {

namespace {

constexpr std::size_t kMostBodyBytes = 64 * 1024;

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

// A short count makes libcurl stop the transfer with a write error.
std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto& body = *static_cast<std::string*>(user);
  const std::size_t length = size * count;
  if (body.size() + length > kMostBodyBytes) return 0;
  body.append(data, length);
  return length;
}

// The tests' own authority comes this way; otherwise libcurl's built-in system store.
std::string AuthorityFile() {
  const char* file = std::getenv("SSL_CERT_FILE");
  std::error_code error;
  if (file && *file && std::filesystem::is_regular_file(file, error)) return file;
  return {};
}

bool Setup(CURL* easy, const std::string& address, long limit_ms, std::string& body) {
  bool ok = curl_easy_setopt(easy, CURLOPT_URL, address.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK;
  // The limit is the whole fetch: a server that drips its answer still runs out of time.
  ok = ok && curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, limit_ms) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, limit_ms) == CURLE_OK;
  // Time-outs without SIGALRM: the program's other threads keep their signals.
  ok = ok && curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
#if LIBCURL_VERSION_NUM >= 0x075500
  ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https") == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https") == CURLE_OK;
#else
  ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS, long{CURLPROTO_HTTPS}) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS, long{CURLPROTO_HTTPS}) == CURLE_OK;
#endif
  ok = ok && curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
  if (const std::string authority = AuthorityFile(); !authority.empty()) {
    ok = ok && curl_easy_setopt(easy, CURLOPT_CAINFO, authority.c_str()) == CURLE_OK;
  }
  ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Collect) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body) == CURLE_OK;
  return ok;
}

}  // namespace

CurlTransfer::CurlTransfer() = default;

std::string CurlTransfer::Fetch(const std::string& address, std::chrono::seconds limit) {
  // libcurl takes no limit at all for zero.
  if (limit.count() <= 0) return {};
  // At the first fetch, not at start-up: the TLS library's set-up costs 2 MB of memory,
  // for nothing in a build whose site is the placeholder.
  [[maybe_unused]] static const CURLcode initialized = curl_global_init(CURL_GLOBAL_DEFAULT);
  const EasyHandle easy(curl_easy_init());
  if (!easy) return {};
  std::string body;
  const long limit_ms = static_cast<long>(std::chrono::milliseconds(limit).count());
  if (!Setup(easy.get(), address, limit_ms, body)) return {};
  if (curl_easy_perform(easy.get()) != CURLE_OK) return {};
  long status = 0;
  if (curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return {};
  if (status < 200 || status > 299) return {};
  return body;
}

std::string_view CurlTransfer::ProxyAdvice() const {
  return "Please note that if you get the Internet connection through a proxy server, set it "
         "in the https_proxy environment variable of your desktop session.";
}

}  // namespace melodane::on_linux
