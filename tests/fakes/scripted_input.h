// Key states and random numbers of the test's choosing, with a record of the queries.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "sound/key_state.h"
#include "sound/uniform_random.h"

namespace melodane::testing {

class ScriptedKeys final : public KeyState {
 public:
  void BeginTick() override { ++ticks; }
  std::int16_t Query(std::int32_t key) override {
    queries.push_back(key);
    if (on_query) on_query(key);
    const auto found = down.find(key);
    return found == down.end() ? 0 : found->second;
  }

  std::map<std::int32_t, std::int16_t> down;  // code -> state
  std::vector<std::int32_t> queries;
  int ticks = 0;
  std::function<void(std::int32_t)> on_query;
};

class ScriptedRandom final : public UniformRandom {
 public:
  double Next() override {
    ++draws;
    if (values.empty()) return 0.5;
    const double value = values.front();
    values.pop_front();
    return value;
  }

  std::deque<double> values;
  int draws = 0;
};

}  // namespace melodane::testing
