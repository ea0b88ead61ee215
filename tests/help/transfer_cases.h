// What every platform's HTTPS transfer must give for each answer of the test servers
// (tests/e2e/version_server.py, which runs the test with their addresses).
#pragma once

#include <chrono>
#include <cstdlib>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "help/help_services.h"

namespace melodane::testing {

inline void ExpectTransferRules(VersionTransfer& transfer) {
  const char* site = std::getenv("MELODANE_TEST_SITE");
  if (!site) GTEST_SKIP() << "run through tests/e2e/version_server.py";
  const auto fetch = [&](const std::string& base, const std::string& answer, int limit = 9) {
    return transfer.Fetch(base + "/" + answer + "/vers/md.txt", std::chrono::seconds(limit));
  };
  const std::pair<const char*, std::string> cases[] = {
      {"current", "3.0"}, {"crlf", "3.0\r\n"}, {"missing", ""},  // a 404 with a body
      {"big", ""},        {"to-http", ""},     {"to-https", "2.9"}};
  for (const auto& [answer, body] : cases) EXPECT_EQ(fetch(site, answer), body) << answer;
  EXPECT_EQ(fetch(std::getenv("MELODANE_UNTRUSTED_SITE"), "current"), "");
  EXPECT_EQ(fetch("http://127.0.0.1:9", "current", 2), "") << "plain HTTP is never fetched";
  // The limit holds for the whole fetch.
  for (const char* answer : {"hang", "drip"}) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fetch(site, answer, 2), "");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 2.5) << answer;
    EXPECT_GT(took.count(), 1.9) << answer;
  }
}

}  // namespace melodane::testing
