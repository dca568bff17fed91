// The suites that run a mix on the filled maps: the core workloads, and a
// mix of the user's own (--mix); and the replay of a user's trace (--trace).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bench_main.h"
#include "mix_recipe.h"
#include "trace.h"

// core_a .. core_f, on the map filled in random order (n present keys).
std::vector<Suite> coreSuites();

// "own_mix": the mix `recipe` (as the user wrote it, `text`) on the same map.
Suite ownMixSuite(const MixRecipe& recipe, const std::string& text);

// "trace": the trace replayed on a new map each iteration, after its load
// section (untimed); run at one size, its number of operations.
Suite traceSuite(std::shared_ptr<const Trace> trace);
