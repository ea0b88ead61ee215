// The update check's HTTPS fetch, with Qt Network on a thread of its own.
#pragma once

#include <QNetworkProxy>
#include <QString>

#include <optional>

#include "help/help_services.h"

namespace melodane::on_linux {

class QtNetworkTransfer final : public VersionTransfer {
 public:
  // Certificates are checked against the system's authorities and those of the file
  // SSL_CERT_FILE names; the proxy is the environment's (HttpsProxyFor). The caller's event
  // loop does not run meanwhile.
  std::string Fetch(const std::string& address, std::chrono::seconds limit) override;
  std::string_view ProxyAdvice() const override;
};

// The proxy for HTTPS to `host`, from the values of https_proxy and no_proxy read as curl
// reads them: none for the hosts no_proxy lists, for the loopback, or when https_proxy is
// empty; nothing at all when https_proxy names a kind of proxy Qt cannot use.
std::optional<QNetworkProxy> HttpsProxyFor(const QString& host, const QString& https_proxy,
                                           const QString& no_proxy);

}  // namespace melodane::on_linux
