// Our deflate and inflate against zlib on one corpus of text-like and
// binary data. After the timings it prints the three ratios that matter:
// compressed size at level 6 (ours / zlib), compression throughput and
// inflate throughput (ours / zlib, higher is better).
#include "bench/RatioReporter.h"
#include "zip/Deflate.h"
#include "zip/Inflate.h"
#include "platform/testing/CodecPeers.h"
#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace codecpeers;

// Payroll-like text: names, departments, amounts, CSV and report lines.
Bytes TextCorpus(size_t Size) {
  static const char* words[] = {"张三", "李四", "王五", "财务部", "生产部", "工资", "扣款", "实发", "salary", "tax",
                                "net", "total", "department", "2024-06", "\r\n", ",", "  ", "。", "应发合计", "个人所得税"};
  std::mt19937 rng(7);
  Bytes out;
  char number[32];
  while (out.size() < Size) {
    if (rng() % 3 == 0) {
      const int n = std::snprintf(number, sizeof number, "%u.%02u ", unsigned(rng() % 20000), unsigned(rng() % 100));
      out.insert(out.end(), number, number + n);
    } else {
      const std::string w = words[rng() % 20];
      out.insert(out.end(), w.begin(), w.end());
    }
  }
  out.resize(Size);
  return out;
}

// Database-like records: small integers, dates, flags and some noise.
Bytes BinaryCorpus(size_t Size) {
  std::mt19937 rng(11);
  Bytes out;
  uint32_t id = 1000;
  while (out.size() < Size) {
    uint8_t record[64] = {};
    const uint32_t fields[] = {id++, uint32_t(45000 + rng() % 400), uint32_t(rng() % 100000), uint32_t(rng() % 8), 0, uint32_t(rng())};
    std::memcpy(record, fields, sizeof fields);
    for (int i = 24; i < 40; ++i) record[i] = uint8_t(rng() % 4 == 0 ? rng() : 0);
    out.insert(out.end(), record, record + sizeof record);
  }
  out.resize(Size);
  return out;
}

const Bytes& Corpus() {
  static const Bytes corpus = [] {
    Bytes text = TextCorpus(24u << 20);
    const Bytes binary = BinaryCorpus(12u << 20);
    text.insert(text.end(), binary.begin(), binary.end());
    return text;
  }();
  return corpus;
}

Bytes OurDeflate(const Bytes& In, TDeflater& Deflater) {
  TMemorySource source(In);
  TMemorySink sink;
  sink.Data.reserve(In.size() / 2);
  Deflater.Deflate(source, sink, 6);
  return std::move(sink.Data);
}

const Bytes& Compressed() {
  static const Bytes compressed = ZlibDeflate(Corpus(), 6);
  return compressed;
}

void BM_DeflateOurs(benchmark::State& state) {
  TDeflater deflater;
  for (auto _ : state) benchmark::DoNotOptimize(OurDeflate(Corpus(), deflater));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Corpus().size()));
}

void BM_DeflateZlib(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ZlibDeflate(Corpus(), 6));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Corpus().size()));
}

void BM_InflateOurs(benchmark::State& state) {
  TMemorySink sink;
  sink.Data.reserve(Corpus().size());
  for (auto _ : state) {
    TMemorySource source(Compressed());
    sink.Data.clear();
    benchmark::DoNotOptimize(Inflate(source, sink));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Corpus().size()));
}

void BM_InflateZlib(benchmark::State& state) {
  Bytes out(Corpus().size());
  size_t produced = 0;
  for (auto _ : state) {
    ZlibInflate(Compressed(), out.data(), out.size(), produced);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Corpus().size()));
}

BENCHMARK(BM_DeflateOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DeflateZlib)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_InflateOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_InflateZlib)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Built before the clock starts, so no benchmark pays for it.
  Corpus();
  Compressed();
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  TDeflater deflater;
  const double ours = double(OurDeflate(Corpus(), deflater).size());
  const double zlib = double(Compressed().size());
  std::printf("\ncorpus %zu bytes; level 6: ours %.0f bytes, zlib %.0f bytes\n", Corpus().size(), ours, zlib);
  std::printf("compressed size ratio (ours / zlib, must be <= 1.01): %.4f\n", ours / zlib);
  std::printf("compression throughput ratio (ours / zlib, must be >= 0.7): %.3f\n",
              reporter.SpeedRatio("BM_DeflateOurs/min_time:2.000", "BM_DeflateZlib/min_time:2.000"));
  std::printf("inflate throughput ratio (ours / zlib, must be >= 0.7): %.3f\n",
              reporter.SpeedRatio("BM_InflateOurs/min_time:2.000", "BM_InflateZlib/min_time:2.000"));
  return 0;
}
