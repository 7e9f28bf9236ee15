// make_bench_log LINES FILE: writes the benchmark's synthetic log of that many lines.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/synthetic_log.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_bench_log LINES FILE\n");
    return 2;
  }
  const std::string log = bench::MakeSessionLog(std::strtoul(argv[1], nullptr, 10));
  std::FILE* file = std::fopen(argv[2], "wb");
  if (!file || std::fwrite(log.data(), 1, log.size(), file) != log.size() || std::fclose(file) != 0) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
