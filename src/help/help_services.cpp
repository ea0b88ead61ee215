#include "help/help_services.h"

#include <cstdlib>

#ifndef MELODANE_SITE_BASE
#define MELODANE_SITE_BASE "https://www.melodane.example"
#endif
#ifndef MELODANE_FACEBOOK_PAGE
#define MELODANE_FACEBOOK_PAGE "https://facebook.melodane.example"
#endif
#ifndef MELODANE_TWITTER_PAGE
#define MELODANE_TWITTER_PAGE "https://twitter.melodane.example"
#endif

namespace melodane {

namespace {

std::string Setting(const char* name, const char* built_in) {
  const char* value = std::getenv(name);
  return value && *value ? value : built_in;
}

}  // namespace

SiteConfig SiteConfig::FromBuildAndEnvironment() {
  return {Setting("MELODANE_SITE_BASE", MELODANE_SITE_BASE),
          Setting("MELODANE_FACEBOOK_PAGE", MELODANE_FACEBOOK_PAGE),
          Setting("MELODANE_TWITTER_PAGE", MELODANE_TWITTER_PAGE)};
}

bool SiteConfig::IsPlaceholder() const {
  const std::string_view host = std::string_view(site_base).substr(site_base.find("://") + 3);
  return host.ends_with(".example") || host.find(".example:") != std::string_view::npos;
}

}  // namespace melodane
