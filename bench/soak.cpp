// The long soak: `zo_bench_soak [list|picker] [--seed N] [--steps N]` runs
// a PropertyList, or a ZoColorPicker and the colour form, through a random
// sequence (1,000,000 steps unless told) and prints its figures: steps per second, mismatches with the model,
// references left, and the live GDI object and window counts before and
// after. Exits 1 when any figure is wrong.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/support/build_type.h"
#include "tests/host/soak/list_soak.h"
#include "tests/host/soak/picker_soak.h"

int main(int argc, char** argv) {
    if (!zo::bench::OptimisedBuild()) return 2;
    std::string control = "list";
    zo::test::SoakOptions options{1, 1'000'000, 50'000};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            options.seed = std::strtoull(argv[++i], nullptr, 0);
        else if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc)
            options.steps = std::strtoll(argv[++i], nullptr, 0);
        else
            control = argv[i];
    }
    if (control != "list" && control != "picker") {
        std::printf("unknown control %s (list or picker)\n", control.c_str());
        return 2;
    }
    if (FAILED(::OleInitialize(nullptr))) return 1;
    const zo::test::SoakReport report =
        control == "list" ? zo::test::RunListSoak(options) : zo::test::RunPickerSoak(options);
    std::printf("control %s\n%s", control.c_str(), report.Describe().c_str());
    std::printf("steps per second: %.0f\n", report.seconds > 0 ? report.stepsRun / report.seconds : 0.0);
    std::printf("result: %s\n", report.ok() && report.stepsRun == options.steps ? "ok" : "FAILED");
    ::OleUninitialize();
    return report.ok() && report.stepsRun == options.steps ? 0 : 1;
}
