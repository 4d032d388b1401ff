// Helper of bench/extract-benchmark.
//   extract_bench start         ends at once (start-up time)
//   extract_bench extract DIR   extracts the DATA_SOURCE resource to DIR/source.zip
#include <cstdio>
#include <exception>
#include <string>

#include "u_self_resource.h"

int main(int argc, char* argv[]) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "start" && argc == 2)
    return 0;
  if (mode == "extract" && argc == 3) {
    try {
      TFileResourcesClass catalogue;
      catalogue.TempDir = argv[2];
      catalogue.Extract(frtData_Source);
      return 0;
    } catch (const std::exception& error) {
      std::fprintf(stderr, "extract_bench: %s\n", error.what());
      return 1;
    }
  }
  std::fprintf(stderr, "usage: %s start | extract DIR\n", argv[0]);
  return 2;
}
