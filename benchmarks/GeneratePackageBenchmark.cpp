// Generation of each package kind into a real folder, timed against writing the same bytes to
// the same names with plain open, write and close in the same run. The "ratio" counter is
// generation time over plain-write time; the target is 1.2 or less.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <iostream>
#include <string>

#include "benchmarks/CapturedPackage.h"
#include "benchmarks/FolderCheck.h"
#include "benchmarks/PlainWrites.h"
#include "benchmarks/StandInPayloads.h"
#include "generate/GeneratePackage.h"
#include "platform/PosixPlatform.h"

namespace usbwiz {

namespace {

using Clock = std::chrono::steady_clock;

struct PreparedKind {
    Package kind = Package::None;
    WizardSettings settings;
    CapturedPackage package;
    std::size_t bytes = 0;
};

bool anyRunFailed = false;

template <typename Action>
Clock::duration TimeOf(Action&& action) {
    const Clock::time_point start = Clock::now();
    action();
    return Clock::now() - start;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void GenerateAgainstPlainWrites(benchmark::State& state, const PreparedKind& prepared,
                                const StandInPayloads& payloads) {
    PosixPlatform platform;
    Clock::duration generating{};
    Clock::duration writingPlainly{};
    std::size_t round = 0;

    for (auto _ : state) {
        bool generated = false;
        std::string plainFailure;
        const auto generate = [&] {
            generated = GeneratePackage(prepared.settings, platform, payloads).written;
        };
        const auto writePlainly = [&] { plainFailure = WritePlainly(prepared.package.files); };

        // The plain writes stay out of the library's own clock, so that its CPU column is
        // generation's alone.
        const auto writePlainlyPaused = [&] {
            state.PauseTiming();
            const Clock::duration d = TimeOf(writePlainly);
            state.ResumeTiming();
            return d;
        };

        // Take turns at going first, so that neither side always truncates the other's files.
        Clock::duration generateTime{};
        Clock::duration plainTime{};
        if (round++ % 2 == 0) {
            generateTime = TimeOf(generate);
            plainTime = writePlainlyPaused();
        } else {
            plainTime = writePlainlyPaused();
            generateTime = TimeOf(generate);
        }
        if (!generated || !plainFailure.empty()) {
            anyRunFailed = true;
            state.SkipWithError(generated ? plainFailure.c_str() : "generation failed");
            break;
        }
        generating += generateTime;
        writingPlainly += plainTime;
        state.SetIterationTime(Seconds(generateTime));
    }

    if (round == 0 || writingPlainly.count() == 0) return;
    const double rounds = static_cast<double>(round);
    state.counters["plain_ms"] = Seconds(writingPlainly) * 1000.0 / rounds;
    state.counters["ratio"] = Seconds(generating) / Seconds(writingPlainly);
    state.counters["files"] = static_cast<double>(prepared.package.files.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(round * prepared.bytes));
}

// Captures the package, checks that a real generation and the plain writes leave the same
// folder, and leaves the files in place so that every timed write truncates an existing file.
std::string Prepare(PreparedKind& prepared, const std::filesystem::path& folder,
                    const StandInPayloads& payloads) {
    PosixPlatform platform;
    ApplyPackageDefaults(prepared.settings, prepared.kind, platform);
    std::filesystem::create_directory(folder);
    prepared.settings.GenerationDirectory = folder.string() + "/";

    prepared.package = CapturePackage(prepared.settings, payloads);
    if (!prepared.package.fault.empty()) return prepared.package.fault;
    for (const PackageFile& file : prepared.package.files) prepared.bytes += file.Bytes().size();

    if (!GeneratePackage(prepared.settings, platform, payloads).written) return "generation failed";
    std::string mismatch = FolderMismatch(folder, prepared.package.files);
    if (!mismatch.empty()) return "after generation: " + mismatch;
    if (std::string failure = WritePlainly(prepared.package.files); !failure.empty())
        return failure;
    mismatch = FolderMismatch(folder, prepared.package.files);
    if (!mismatch.empty()) return "after the plain writes: " + mismatch;
    return {};
}

class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "usbwiz-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace

}  // namespace usbwiz

int main(int argc, char** argv) {
    using namespace usbwiz;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const TemporaryFolder folder;
    if (folder.path().empty()) {
        std::cerr << "cannot create a temporary folder\n";
        return 1;
    }
    const StandInPayloads payloads;
    std::deque<PreparedKind> kinds;  // stable addresses for the registered benchmarks
    for (const Package kind : {Package::ComPort, Package::Ferrolink}) {
        PreparedKind& prepared = kinds.emplace_back();
        prepared.kind = kind;
        const std::string name = "kind:" + std::to_string(static_cast<int>(kind));
        if (std::string fault = Prepare(prepared, folder.path() / name, payloads); !fault.empty()) {
            std::cerr << "package kind " << static_cast<int>(kind) << ": " << fault << '\n';
            return 1;
        }
        benchmark::RegisterBenchmark(("GeneratePackage/" + name).c_str(),
                                     [&prepared, &payloads](benchmark::State& state) {
                                         GenerateAgainstPlainWrites(state, prepared, payloads);
                                     })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return anyRunFailed ? 1 : 0;
}
