// What the Help menu and the update check need of the platform: the maker's addresses,
// a way to open an address in the user's browser, an HTTPS fetch, and message boxes.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace melodane {

// The maker's web site and social-media pages. Set when the program is built (CMake
// cache variables MELODANE_SITE_BASE, MELODANE_FACEBOOK_PAGE, MELODANE_TWITTER_PAGE);
// the environment variables of the same names take their place, for tests and
// packagers. The defaults name a host under the reserved .example domain.
struct SiteConfig {
  std::string site_base;  // scheme and host, no trailing slash
  std::string facebook_page, twitter_page;

  static SiteConfig FromBuildAndEnvironment();
  // Whether the site is still the placeholder: a check there could only ever fail.
  bool IsPlaceholder() const;

  std::string ProductPage() const { return site_base + "/melodane.htm"; }
  std::string CompanyHomePage() const { return site_base + "/?source=md-ui"; }
  std::string SupportPage() const { return site_base + "/contact.htm"; }
  std::string VersionFileAddress() const { return site_base + "/vers/md.txt"; }
  std::string DownloadAddress() const { return site_base + "/files/melodane.zip"; }
};

class WebLauncher {
 public:
  virtual ~WebLauncher() = default;
  // Hands the address to the system's handler for the user's browser, without waiting;
  // a failure is silent.
  virtual void OpenWebAddress(const std::string& address) = 0;
};

class VersionTransfer {
 public:
  static constexpr std::size_t kMostBodyBytes = 64 * 1024;
  static constexpr int kMostRedirects = 5;

  virtual ~VersionTransfer() = default;
  // The body of an HTTPS GET of the address, or the empty text when anything fails: no
  // answer within `limit` (the whole fetch, not each read), a certificate that does not
  // verify, a status other than success, a redirect to anything but HTTPS or past the
  // fifth, or a body of more than kMostBodyBytes.
  virtual std::string Fetch(const std::string& address, std::chrono::seconds limit) = 0;
  // Where the user sets the proxy this transfer goes through, as one sentence.
  virtual std::string_view ProxyAdvice() const = 0;
};

// Message-box flags and answers, as the system numbers them.
inline constexpr int kMbOk = 0, kMbOkCancel = 1, kMbIconQuestion = 32, kMbIconExclamation = 48,
                     kMbIconInformation = 64, kIdOk = 1;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal box over the main window; the button chosen (kIdOk for OK).
  virtual int MsgBox(std::string_view text, int flags, std::string_view title) = 0;
};

}  // namespace melodane
