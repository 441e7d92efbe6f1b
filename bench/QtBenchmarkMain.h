#pragma once

#include <functional>

// The main of the benchmark programs: a Qt application (widgets on the
// offscreen platform unless another platform is asked for) whose message
// boxes are silent, then the benchmarks asked for.
//
// Work registered here runs after the benchmarks, last registered first,
// while the application object still lives: databases must be closed before
// the SQL drivers go, and widgets freed before the application.
void AtBenchmarkEnd(std::function<void()> work);
