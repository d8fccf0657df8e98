// Throughput of the cipher and the cost of making a whole configuration file. The baseline is
// a plain copy of the same bytes, so the figures can be compared across machines as ratios.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "settings/ConfigFile.h"
#include "settings/ConfigFileKey.h"
#include "settings/ConfigFileText.h"
#include "settings/Des.h"

namespace lanterna {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

std::vector<std::uint8_t> Buffer() {
    std::vector<std::uint8_t> data(kBufferSize);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return data;
}

void BM_CopyBaseline(benchmark::State& state) {
    const std::vector<std::uint8_t> source = Buffer();
    std::vector<std::uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_CopyBaseline);

void BM_DesEncrypt(benchmark::State& state) {
    const DesCipher cipher(std::span<const std::uint8_t, 8>(ConfigFileKey().data(), 8),
                           DesDirection::kEncrypt);
    std::vector<std::uint8_t> data = Buffer();
    for (auto _ : state) {
        for (std::size_t offset = 0; offset < data.size(); offset += 8) {
            cipher.Apply(std::span<std::uint8_t, 8>(data.data() + offset, 8));
        }
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_DesEncrypt);

void BM_TripleDesEncryptEcb(benchmark::State& state) {
    const TripleDes cipher(ConfigFileKey());
    std::vector<std::uint8_t> data = Buffer();
    for (auto _ : state) {
        cipher.EncryptEcb(data);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_TripleDesEncryptEcb);

void BM_TripleDesDecryptEcb(benchmark::State& state) {
    const TripleDes cipher(ConfigFileKey());
    std::vector<std::uint8_t> data = Buffer();
    for (auto _ : state) {
        cipher.DecryptEcb(data);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_TripleDesDecryptEcb);

void BM_DeriveConfigFileKey(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(DeriveConfigFileKey(kConfigFilePassPhrase));
    }
}
BENCHMARK(BM_DeriveConfigFileKey);

// Every line of the file present and every text field at its longest.
ProjectorRecord FullWirelessRecord() {
    ProjectorRecord record;
    record.wirelessActive = 1;
    record.primaryInterface = 1;
    CopyText(record.projectorName, std::string(15, 'P'));
    record.ipAddress = {172, 16, 240, 201};
    record.subnetMask = {255, 255, 255, 0};
    record.gateway = {172, 16, 240, 254};
    record.mailNotify = 1;
    record.smtpServer = {172, 16, 100, 125};
    record.smtpPort = 65535;
    CopyText(record.mailTo1, std::string(60, 'a') + "@b.c");
    CopyText(record.mailTo2, std::string(60, 'd') + "@e.f");
    CopyText(record.mailTo3, std::string(60, 'g') + "@h.i");
    record.mailEvents1 = record.mailEvents2 = record.mailEvents3 = 0x7FF;
    record.trapAddress1 = {172, 16, 100, 162};
    record.trapAddress2 = {172, 16, 100, 163};
    CopyText(record.community, "COMMUNIT");
    record.essidSet = 1;
    CopyText(record.essid, std::string(32, 'E'));
    record.security = {1, 2, 0, 0};
    record.wepKeyId = 1;
    CopyText(record.wepKey1, "ABCDEFGHIJKLM");
    CopyText(record.wepKey2, "NOPQRSTUVWXYZ");
    CopyText(record.wepKey3, "0123456789abcdefABCDEF0123");
    CopyText(record.wepKey4, "abcdefghijklm");
    return record;
}

void BM_BuildAndEncipherFullWirelessFile(benchmark::State& state) {
    const ProjectorRecord record = FullWirelessRecord();
    std::size_t size = 0;
    for (auto _ : state) {
        const ConfigFileText text = BuildConfigFileText(record);
        const std::vector<std::uint8_t> file = EncipherConfigText(text.text);
        size = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_BuildAndEncipherFullWirelessFile);

}  // namespace
}  // namespace lanterna

BENCHMARK_MAIN();
