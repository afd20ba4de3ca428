// Generation of each package kind into a real folder, timed against writing the same bytes to
// the same names with plain open, write and close in the same run. The "ratio" counter is
// generation time over plain-write time; the target is 1.2 or less.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <ctime>
#include <deque>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "benchmarks/CapturedPackage.h"
#include "benchmarks/FolderCheck.h"
#include "benchmarks/PlainWrites.h"
#include "benchmarks/StandInPayloads.h"
#include "cli/CatalogSigning.h"
#include "generate/GeneratePackage.h"
#include "generate/PackageCatalogs.h"
#include "generate/PackageContents.h"
#include "platform/PosixPlatform.h"

namespace usbwiz {

namespace {

using Clock = std::chrono::steady_clock;

struct PackageSize {
    std::size_t files = 0;
    std::size_t bytes = 0;
};

struct PreparedKind {
    Package kind = Package::None;
    WizardSettings settings;
    CapturedPackage package;
    PackageSize size;
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

// Times `measured` against `baseline` in the same rounds, taking turns at going first so that
// neither always replaces the other's files. Each answers why it failed, or "". The baseline
// stays out of the library's own clock, so that its CPU column is the measured side's alone.
template <typename Measured, typename Baseline>
void CompareInOneRun(benchmark::State& state, const PackageSize& size, Measured measured,
                     Baseline baseline) {
    Clock::duration measuring{};
    Clock::duration baselining{};
    std::size_t round = 0;

    for (auto _ : state) {
        std::string measuredFailure, baselineFailure;
        const auto timeBaseline = [&] {
            state.PauseTiming();
            const Clock::duration d = TimeOf([&] { baselineFailure = baseline(); });
            state.ResumeTiming();
            return d;
        };
        Clock::duration measuredTime{};
        Clock::duration baselineTime{};
        if (round++ % 2 == 0) {
            measuredTime = TimeOf([&] { measuredFailure = measured(); });
            baselineTime = timeBaseline();
        } else {
            baselineTime = timeBaseline();
            measuredTime = TimeOf([&] { measuredFailure = measured(); });
        }
        if (!measuredFailure.empty() || !baselineFailure.empty()) {
            anyRunFailed = true;
            state.SkipWithError((measuredFailure + baselineFailure).c_str());
            break;
        }
        measuring += measuredTime;
        baselining += baselineTime;
        state.SetIterationTime(Seconds(measuredTime));
    }

    if (round == 0 || baselining.count() == 0) return;
    const double rounds = static_cast<double>(round);
    state.counters["baseline_ms"] = Seconds(baselining) * 1000.0 / rounds;
    state.counters["ratio"] = Seconds(measuring) / Seconds(baselining);
    state.counters["files"] = static_cast<double>(size.files);
    state.SetBytesProcessed(static_cast<std::int64_t>(round * size.bytes));
}

std::string Generate(const PreparedKind& prepared, Platform& platform,
                     const PayloadStore& payloads) {
    return GeneratePackage(prepared.settings, platform, payloads).written ? ""
                                                                          : "generation failed";
}

// Captures the package, checks that a real generation and the plain writes leave the same
// folder, and leaves the files in place so that every timed write truncates an existing file.
std::string Prepare(PreparedKind& prepared, const std::filesystem::path& folder,
                    const StandInPayloads& payloads) {
    PosixPlatform platform;
    ApplyPackageDefaults(prepared.settings, prepared.kind, platform.WindowsDirectory());
    prepared.settings.CertificationChoice = true;  // the INF files name their catalogs
    std::filesystem::create_directory(folder);
    prepared.settings.GenerationDirectory = folder.string() + "/";

    prepared.package = CapturePackage(prepared.settings, payloads);
    if (!prepared.package.fault.empty()) return prepared.package.fault;
    prepared.size.files = prepared.package.files.size();
    for (const CapturedFile& file : prepared.package.files)
        prepared.size.bytes += file.Bytes().size();

    if (!GeneratePackage(prepared.settings, platform, payloads).written) return "generation failed";
    std::string mismatch = FolderMismatch(folder, prepared.package.files);
    if (!mismatch.empty()) return "after generation: " + mismatch;
    if (std::string failure = WritePlainly(prepared.package.files); !failure.empty())
        return failure;
    mismatch = FolderMismatch(folder, prepared.package.files);
    if (!mismatch.empty()) return "after the plain writes: " + mismatch;
    return {};
}

// A code-signing certificate and RSA 3072 key in a PKCS #12 file, made with the openssl tool as
// a maker would make one; its password is "bench". Empty when openssl failed.
std::string MakePkcs12(const std::filesystem::path& folder) {
    const std::string base = (folder / "maker").string();
    const std::string command =
        "openssl req -x509 -newkey rsa:3072 -nodes -keyout '" + base + ".key' -out '" + base +
        ".pem' -days 30 -subj /CN=bench -addext extendedKeyUsage=codeSigning 2>/dev/null && "
        "openssl pkcs12 -export -inkey '" +
        base + ".key' -in '" + base + ".pem' -out '" + base + ".pfx' -passout pass:bench";
    if (std::system(command.c_str()) != 0) return {};
    return base + ".pfx";
}

// What `usbdrvgen --catalog` does after its checks: the package built once, its files staged
// while the key the options name, if any, is loaded and checked on a thread of its own, both
// catalogs signed and staged, and everything committed.
std::string GenerateWithCatalogs(const PreparedKind& prepared, Platform& platform,
                                 const PayloadStore& payloads, const CommandLineOptions& options) {
    std::istringstream noInput;
    const auto environment = [](const std::string& name) -> std::optional<std::string> {
        if (name == "BENCH_PFX_PASSWORD") return "bench";
        return std::nullopt;
    };
    CatalogOptions catalog;
    catalog.algorithm = options.catalogHash.value_or(HashAlgorithm::Sha1);
    const PackageContents package = BuildPackageContents(prepared.settings, payloads);
    PreparedSigner signing;
    const CatalogSignerLoader loadSigner = [&] {
        signing = PrepareSigner(options, prepared.settings.LongName, catalog.algorithm,
                                std::time(nullptr), noInput, environment);
        return CatalogSignerOutcome{
            signing.key ? &signing.signer : nullptr, signing.error,
            [&](const std::exception& failed) { return SignatureRefusal(failed, options); }};
    };
    StagedRun run(platform);
    const CatalogStaging staged = StagePackageWithCatalogs(package, catalog, loadSigner, run);
    if (!staged.refusal.empty()) return staged.refusal;
    if (staged.failure || run.Commit()) return "generation with catalogs failed";
    return "";
}

// The package with the payloads the program carries (the small stand-ins of this build).
PackageSize SizeOf(const WizardSettings& settings, const PayloadStore& payloads) {
    const PackageContents package = BuildPackageContents(settings, payloads);
    PackageSize size{package.files.size(), 0};
    for (const PackageFile& file : package.files)
        size.bytes += file.Bytes().value_or(std::string_view()).size();
    return size;
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
    std::deque<CommandLineOptions> catalogOptions;
    for (const Package kind : {Package::ComPort, Package::Ferrolink}) {
        PreparedKind& prepared = kinds.emplace_back();
        prepared.kind = kind;
        const std::string name = "kind:" + std::to_string(static_cast<int>(kind));
        if (std::string fault = Prepare(prepared, folder.path() / name, payloads); !fault.empty()) {
            std::cerr << "package kind " << static_cast<int>(kind) << ": " << fault << '\n';
            return 1;
        }
        // Generation against plain writes of the same bytes.
        benchmark::RegisterBenchmark(("GeneratePackage/" + name).c_str(),
                                     [&prepared, &payloads](benchmark::State& state) {
                                         PosixPlatform platform;
                                         CompareInOneRun(
                                             state, prepared.size,
                                             [&] { return Generate(prepared, platform, payloads); },
                                             [&] { return WritePlainly(prepared.package.files); });
                                     })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        if (kind != Package::ComPort) continue;
        // The catalogs, unsigned and signed with a PKCS #12 file, against generation alone.
        CommandLineOptions& plain = catalogOptions.emplace_back();
        CommandLineOptions& signing = catalogOptions.emplace_back();
        signing.catalogHash = HashAlgorithm::Sha256;
        signing.signPfx = MakePkcs12(folder.path());
        signing.signPasswordEnv = "BENCH_PFX_PASSWORD";
        if (signing.signPfx->empty()) {
            std::cerr << "openssl could not make a PKCS #12 file\n";
            return 1;
        }
        // With the stand-ins of 10 MiB, and with the small stand-ins this build carries.
        const PackageSize carried = SizeOf(prepared.settings, EmbeddedPayloads());
        for (const auto& [suffix, store, size] :
             {std::tuple<const char*, const PayloadStore*, PackageSize>{"", &payloads,
                                                                        prepared.size},
              std::tuple<const char*, const PayloadStore*, PackageSize>{
                  "/carried", &EmbeddedPayloads(), carried}})
            for (const auto& [label, options] :
                 {std::pair{"GenerateWithCatalogs/", &plain},
                  std::pair{"GenerateWithSignedCatalogs/", &signing}})
                benchmark::RegisterBenchmark(
                    (label + name + suffix).c_str(),
                    [&prepared, store, size, options](benchmark::State& state) {
                        PosixPlatform platform;
                        CompareInOneRun(
                            state, size,
                            [&] {
                                return GenerateWithCatalogs(prepared, platform, *store, *options);
                            },
                            [&] { return Generate(prepared, platform, *store); });
                    })
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond);
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return anyRunFailed ? 1 : 0;
}
