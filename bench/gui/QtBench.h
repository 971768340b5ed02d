#pragma once
// Support for the benchmarks that need a QApplication: their main() and the process's memory.

namespace pwbench {

// The resident memory of this process, in megabytes (0 where the system does not say).
double ResidentMegabytes();

} // namespace pwbench
