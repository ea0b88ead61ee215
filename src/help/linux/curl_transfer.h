// The update check's HTTPS fetch, with libcurl.
#pragma once

#include "help/help_services.h"

namespace melodane::on_linux {

class CurlTransfer final : public VersionTransfer {
 public:
  CurlTransfer();

  // Certificates are checked against the system's authorities, or against the file
  // SSL_CERT_FILE names; the proxy is the environment's.
  std::string Fetch(const std::string& address, std::chrono::seconds limit) override;
  std::string_view ProxyAdvice() const override;
};

}  // namespace melodane::on_linux
