// The pixel kernels a filter uses, chosen once when the filter is built: the portable
// definitions, or a vector version that gives exactly the same bytes.
#pragma once

#include <string_view>
#include <vector>

namespace velmire {

struct KernelSet;  // defined in core/kernel_table.h, which front-ends need not see

// The name of a set: "portable", "sse2" or "avx2" (x86), "neon" (64-bit ARM).
std::string_view KernelSetName(const KernelSet& kernels);

const KernelSet& PortableKernels();

// Every set this build has that the processor can run, portable first, fastest last.
std::vector<const KernelSet*> AvailableKernels();

// The fastest of AvailableKernels(): what the plug-ins use.
const KernelSet& BestKernels();

// The set of that name, if this build has it and the processor can run it.
const KernelSet* FindKernels(std::string_view name);

}  // namespace velmire
