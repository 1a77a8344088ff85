// Benchmarks report figures only from an optimised build: a Debug build's
// figures say nothing about what ships.
#pragma once

#include <cstdio>

#ifndef ZO_BUILD_TYPE
#define ZO_BUILD_TYPE "unknown"
#endif

namespace zo::bench {

// Prints the build type; false (and why) when the build is not optimised.
inline bool OptimisedBuild() {
#ifdef __OPTIMIZE__
    std::printf("build type: %s (optimised)\n", ZO_BUILD_TYPE);
    return true;
#else
    std::printf("build type: %s is not optimised: no figures are reported. Build with ZO_BUILD_TYPE=RelWithDebInfo "
                "(the default of scripts/build.sh).\n",
                ZO_BUILD_TYPE);
    return false;
#endif
}

}  // namespace zo::bench
