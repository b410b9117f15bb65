// Timing of the thinking library: milliseconds per sikou call over the positions of a few
// self-play games, and one whole self-play game. sikou.so is loaded by path as the program
// loads it: SIKOU_LIBRARY if set, else from the build's bin directory.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using SikouFunction = int32_t (*)(int32_t, const unsigned char*, int32_t*, int32_t*, int32_t*,
                                  int32_t*);

constexpr int kMaxPlies = 256;  // the game driver's move limit

std::string LibraryPath() {
  if (const char* path = std::getenv("SIKOU_LIBRARY")) return path;
#ifdef SHOGI_BIN_DIR
  return SHOGI_BIN_DIR "/sikou.so";
#else
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return "sikou.so";
  std::string dir(exe, static_cast<std::size_t>(n));
  return dir.substr(0, dir.rfind('/') + 1) + "sikou.so";
#endif
}

SikouFunction Sikou() {
  static SikouFunction function = [] {
    void* handle = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle ? reinterpret_cast<SikouFunction>(dlsym(handle, "sikou")) : nullptr;
  }();
  return function;
}

// Openings the self-play games start from, as move codes (destination, origin), so that the
// games differ: the library alone always plays the same game.
const std::vector<std::vector<std::uint8_t>> kOpenings = {
    {},
    {52, 61},          // 7g7f
    {47, 56},          // 2g2f
    {52, 61, 30, 21},  // 7g7f 3c3d
    {50, 59, 32, 23},  // 5g5f 5c5d
};

// Plays the library against itself from `moves` until it resigns or the move limit; returns
// the whole game and, if asked, the time of every call in milliseconds.
std::vector<std::uint8_t> SelfPlay(std::vector<std::uint8_t> moves, std::vector<double>* times) {
  const SikouFunction sikou = Sikou();
  while (moves.size() / 2 < kMaxPlies) {
    int32_t elapsed = 0, from = 0, to = 0, promote = 0;
    const auto start = std::chrono::steady_clock::now();
    const int32_t result =
        sikou(static_cast<int32_t>(moves.size() / 2), moves.data(), &elapsed, &from, &to, &promote);
    const auto stop = std::chrono::steady_clock::now();
    if (times) times->push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    if (result <= 0) break;
    moves.push_back(static_cast<std::uint8_t>(to + 100 * promote));
    moves.push_back(static_cast<std::uint8_t>(from));
  }
  return moves;
}

// A signature of a game: equal on every run, since the library must answer a list the same way.
double Signature(const std::vector<std::uint8_t>& moves) {
  std::uint32_t h = 2166136261u;
  for (std::uint8_t b : moves) h = (h ^ b) * 16777619u;
  return static_cast<double>(h % 1000000);
}

void BM_SikouCall(benchmark::State& state) {
  if (!Sikou()) {
    state.SkipWithError(("cannot load " + LibraryPath()).c_str());
    return;
  }
  std::vector<std::vector<std::uint8_t>> positions;
  for (const auto& opening : kOpenings) {
    const std::vector<std::uint8_t> game = SelfPlay(opening, nullptr);
    for (std::size_t n = opening.size(); n <= game.size(); n += 2) {
      positions.emplace_back(game.begin(), game.begin() + static_cast<std::ptrdiff_t>(n));
    }
  }
  std::vector<double> times;
  for (auto _ : state) {
    times.clear();
    for (const auto& moves : positions) {
      int32_t elapsed = 0, from = 0, to = 0, promote = 0;
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(Sikou()(static_cast<int32_t>(moves.size() / 2), moves.data(),
                                       &elapsed, &from, &to, &promote));
      const auto stop = std::chrono::steady_clock::now();
      times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
  }
  std::sort(times.begin(), times.end());
  state.counters["positions"] = static_cast<double>(positions.size());
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["max_ms"] = times.back();
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(positions.size()));
}
BENCHMARK(BM_SikouCall)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SelfPlayGame(benchmark::State& state) {
  if (!Sikou()) {
    state.SkipWithError(("cannot load " + LibraryPath()).c_str());
    return;
  }
  std::vector<std::uint8_t> game;
  std::vector<double> times;
  for (auto _ : state) {
    times.clear();
    game = SelfPlay({}, &times);
  }
  std::sort(times.begin(), times.end());
  state.counters["plies"] = static_cast<double>(game.size() / 2);
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["max_ms"] = times.back();
  state.counters["signature"] = Signature(game);
}
BENCHMARK(BM_SelfPlayGame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
