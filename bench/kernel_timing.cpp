#include "kernel_timing.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "base/settings.h"
#include "bench_clips.h"
#include "planar/candidate_tables_planar.h"
#include "planar/row_job_planar.h"
#include "stronger/still_kernels.h"
#include "yuy2/row_job_yuy2.h"

namespace velmire::bench {
namespace {

const Settings kSettings{};

// Median nanoseconds per call over several rounds, each round long enough to dwarf the clock.
double NanosecondsPerCall(const std::function<void()>& call) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kRoundLength = std::chrono::microseconds(300);
  auto timeRound = [&](int calls) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) call();
    return Clock::now() - start;
  };
  int calls = 1;
  while (timeRound(calls) < kRoundLength) calls *= 2;
  std::array<double, 21> rounds{};
  for (double& round : rounds) {
    round = std::chrono::duration<double, std::nano>(timeRound(calls)).count() / calls;
  }
  std::nth_element(rounds.begin(), rounds.begin() + rounds.size() / 2, rounds.end());
  return rounds[rounds.size() / 2];
}

// Frames n-1, n and n+1 of a format's natural clip, an output frame, and a mask with every entry
// marked, so that every block of a row is searched.
struct Scene {
  explicit Scene(const BenchFormat& f)
      : format(f), clip(MakeBenchClip(f, Content::kNatural)), output(f), marked(4096, 0xFF) {
    output.CopyFrom(clip[1]);
  }
  FrameView Frame(int relative) const { return clip[size_t(relative + 1)].View(); }

  BenchFormat format;
  std::vector<BenchFrame> clip;
  BenchFrame output;
  std::vector<uint8_t> marked;
  std::vector<uint8_t> mask = std::vector<uint8_t>(4096);
};

struct TimedKernel {
  std::string name;
  std::function<void(const KernelSet&)> call;
};

template <typename Sample>
const StillKernelsOf<Sample>& StillOf(const KernelSet& set) {
  if constexpr (sizeof(Sample) == 1) {
    return set.still;
  } else {
    return set.still16;
  }
}

// One row of the stronger mode's still blend, as a pass runs it: the low-pass of the luma
// differences against frame n-1 (lumaStride 2 in packed rows), the vote with every block still,
// and the three- and the five-frame blend of the whole row as one run. Rows of frames n-1, n and n+1: luma, U and V (the
// same packed row three times for YUY2), with chroma every chromaStride elements.
template <typename Sample>
void AddStillKernels(const std::string& prefix, const Sample* const luma[3], int lumaStride,
                     const Sample* const u[3], const Sample* const v[3], int chromaStride,
                     int chromaWidth, Sample* out, int shift,
                     std::vector<TimedKernel>& kernels) {
  using Work = StillWork<Sample>;
  const int lumaSamples = 2 * chromaWidth;
  const size_t working = size_t(lumaSamples) + 9 + kStillWorkSlack;
  auto d = std::make_shared<std::vector<Work>>(working);
  auto t = std::make_shared<std::vector<Work>>(working);
  auto chunks = std::make_shared<std::vector<int32_t>>(size_t(lumaSamples) / 8 + 3);
  auto state = std::make_shared<std::vector<uint8_t>>(size_t(chromaWidth) / 4 + 3, uint8_t{3});
  const std::array<const Sample*, 3> uRows{u[0], u[1], u[2]}, vRows{v[0], v[1], v[2]};
  const Sample* now = luma[1];
  const Sample* then = luma[0];
  const std::array<const Sample*, 2> nowRows{now, now}, thenRows{then, then};
  kernels.push_back({prefix + " still low-pass, row", [=](const KernelSet& set) {
                       StillOf<Sample>(set).lowpassedChunks(nowRows.data(), thenRows.data(), 1,
                                                            lumaSamples, lumaStride, shift,
                                                            d->data(), t->data(), chunks->data());
                     }});
  kernels.push_back({prefix + " still vote, row", [=](const KernelSet& set) {
                       int64_t agree = 0, oppose = 0;
                       StillOf<Sample>(set).vote(now, lumaStride, uRows.data(), vRows.data(),
                                                 chromaStride, state->data(), 3,
                                                 chromaWidth - 4, kSettings.ThresholdY << shift,
                                                 &agree, &oppose);
                     }});
  const int maxValue = (256 << shift) - 1;
  const int at = 4 * chromaStride;
  kernels.push_back({prefix + " still blend, row", [=](const KernelSet& set) {
                       const auto& still = StillOf<Sample>(set);
                       const auto blend = chromaStride == 1 ? still.blendRun : still.blendRunPacked;
                       blend(uRows[0] + at, uRows[1] + at, uRows[2] + at, out + at,
                             chromaWidth - 8, true, shift, maxValue);
                     }});
  // The five frames n-2 .. n+2 as the three rows again; YUY2's U and V in one interleaved run.
  const std::array<const Sample*, 5> five{uRows[0] + at, uRows[0] + at, uRows[1] + at,
                                          uRows[2] + at, uRows[2] + at};
  kernels.push_back({prefix + " still five-frame blend, row", [=](const KernelSet& set) {
                       const auto& still = StillOf<Sample>(set);
                       if (chromaStride == 1) {
                         still.blendFive(five.data(), out + at, chromaWidth - 8, shift, maxValue);
                       } else {
                         still.blendFiveInterleaved(five.data(), out + at, 2 * (chromaWidth - 8),
                                                    shift, maxValue);
                       }
                     }});
}

// The middle row of a YUY2 picture: its edge mask, one block's search, and the whole row.
void AddYuy2Kernels(Scene& s, std::vector<TimedKernel>& kernels) {
  const int y = s.format.height / 2;
  const PlaneView plane = s.Frame(0).y;
  auto rows = [](const PlaneView& p) { return FrameRowsYUY2{p.data, p.pitch}; };
  const InputFramesYUY2 inputs{rows(s.Frame(-1).y), rows(plane), rows(s.Frame(1).y)};
  const WritablePlaneView out = s.output.WritableView().y;
  const RowJobYUY2 job =
      MakeRowJobYUY2(inputs, y, out.data + y * out.pitch, plane.rowSize, kSettings.Noise);
  const uint8_t* row = plane.data + y * plane.pitch;
  const int middleBlock = plane.rowSize / 2 / kBlockBytesYUY2 * kBlockBytesYUY2;
  kernels.push_back({"YUY2 edge mask, row", [&s, row, plane](const KernelSet& set) {
                       set.edgeMaskYUY2(row, s.mask.data(), plane.rowSize, kSettings.ThresholdY,
                                        kSettings.Margin);
                     }});
  kernels.push_back({"YUY2 search, block", [&s, job, middleBlock](const KernelSet& set) {
                       set.correctBlockYUY2(job, middleBlock, s.marked.data());
                     }});
  kernels.push_back({"YUY2 search, row", [&s, job](const KernelSet& set) {
                       set.correctRowYUY2(job, s.marked.data());
                     }});
  const uint8_t* packed[3] = {inputs[0].Row(y), row, inputs[2].Row(y)};
  const uint8_t* u[3] = {packed[0] + 1, packed[1] + 1, packed[2] + 1};
  const uint8_t* v[3] = {packed[0] + 3, packed[1] + 3, packed[2] + 3};
  AddStillKernels<uint8_t>("YUY2", packed, 2, u, v, 4, plane.rowSize / 4,
                           out.data + y * out.pitch + 1, 0, kernels);
}

// The middle chroma row of a planar 4:2:2 picture of 8- or 16-bit samples.
template <typename Sample>
void AddPlanarKernels(Scene& s, std::vector<TimedKernel>& kernels) {
  const int shift = s.format.format.bitsPerSample - 8;
  const int cy = s.format.height / 2;
  const InputFramesPlanar frames =
      InputFramesPlanarOf(s.Frame(-1), s.Frame(0), s.Frame(1), s.output.WritableView());
  const int chromaWidth = s.Frame(0).u.rowSize / int(sizeof(Sample));
  const RowJobPlanarOf<Sample> job = MakeRowJobPlanar<Sample>(
      CandidateTablePlanar422(), frames, cy, cy, chromaWidth, kSettings.Noise << shift);
  const Sample* luma = frames.Source().template LumaRow<Sample>(cy);
  const int middleBlock = chromaWidth / 2 / kBlockColumnsPlanar * kBlockColumnsPlanar;
  const std::string depth = shift == 0 ? "planar 8-bit" : "planar 10-bit";
  constexpr bool kWords = sizeof(Sample) == 2;
  kernels.push_back({depth + " edge mask, row", [&s, luma, chromaWidth,
                                                 shift](const KernelSet& set) {
                       const int threshold = kSettings.ThresholdY << shift;
                       if constexpr (kWords) {
                         set.edgeMaskPlanar16(luma, s.mask.data(), chromaWidth, threshold,
                                              kSettings.Margin);
                       } else {
                         set.edgeMaskPlanar(luma, s.mask.data(), chromaWidth, threshold,
                                            kSettings.Margin);
                       }
                     }});
  kernels.push_back({depth + " 4:2:2 search, block", [&s, job, middleBlock](const KernelSet& set) {
                       if constexpr (kWords) {
                         set.correctBlockPlanar16(job, middleBlock, s.marked.data());
                       } else {
                         set.correctBlockPlanar(job, middleBlock, s.marked.data());
                       }
                     }});
  kernels.push_back({depth + " 4:2:2 search, row", [&s, job](const KernelSet& set) {
                       if constexpr (kWords) {
                         set.correctRowPlanar16(job, s.marked.data());
                       } else {
                         set.correctRowPlanar(job, s.marked.data());
                       }
                     }});
  const Sample* lumaRows[3];
  const Sample* u[3];
  const Sample* v[3];
  for (int f = 0; f < 3; ++f) {
    lumaRows[f] = frames.Frame(f - 1).template LumaRow<Sample>(cy);
    u[f] = frames.Frame(f - 1).template URow<Sample>(cy);
    v[f] = frames.Frame(f - 1).template VRow<Sample>(cy);
  }
  AddStillKernels<Sample>(depth, lumaRows, 1, u, v, 1, chromaWidth,
                          frames.output.template URow<Sample>(cy), shift, kernels);
}

// The 4:2:0 list (entries compared with their own reference rows) on the middle chroma row of
// a 4:2:0 picture.
template <typename Sample>
void Add420Search(Scene& s, std::vector<TimedKernel>& kernels) {
  const int shift = s.format.format.bitsPerSample - 8;
  const FrameView current = s.Frame(0);
  const int cy = current.u.height / 2;
  const InputFramesPlanar frames =
      InputFramesPlanarOf(s.Frame(-1), current, s.Frame(1), s.output.WritableView());
  const int chromaWidth = current.u.rowSize / int(sizeof(Sample));
  const RowJobPlanarOf<Sample> job =
      MakeRowJobPlanar<Sample>(CandidateTablePlanarFor(current.u.height, cy), frames, cy, 2 * cy,
                               chromaWidth, kSettings.Noise << shift);
  const std::string depth = shift == 0 ? "planar 8-bit" : "planar 10-bit";
  kernels.push_back({depth + " 4:2:0 search, row", [&s, job](const KernelSet& set) {
                       if constexpr (sizeof(Sample) == 2) {
                         set.correctRowPlanar16(job, s.marked.data());
                       } else {
                         set.correctRowPlanar(job, s.marked.data());
                       }
                     }});
}

const BenchFormat& FormatNamed(const std::string& name) {
  for (const BenchFormat& format : BenchFormats()) {
    if (name == format.name) return format;
  }
  return BenchFormats().front();
}

std::string Cell(double nanoseconds, double reference) {
  char text[48];
  if (reference <= 0) {
    std::snprintf(text, sizeof text, "%.0f", nanoseconds);
  } else {
    std::snprintf(text, sizeof text, "%.0f (%.1fx)", nanoseconds, reference / nanoseconds);
  }
  return text;
}

}  // namespace

void PrintKernelTimes(std::ostream& out, const std::vector<const KernelSet*>& sets) {
  Scene yuy2(FormatNamed("YUY2 720x480"));
  Scene planar8(FormatNamed("YV16 720x480"));
  Scene planar10(FormatNamed("P10 4:2:2 720x480"));
  Scene planar420(FormatNamed("YV12 720x480"));
  Scene planar420Deep(FormatNamed("P10 4:2:0 720x480"));
  std::vector<TimedKernel> kernels;
  AddYuy2Kernels(yuy2, kernels);
  AddPlanarKernels<uint8_t>(planar8, kernels);
  AddPlanarKernels<uint16_t>(planar10, kernels);
  Add420Search<uint8_t>(planar420, kernels);
  Add420Search<uint16_t>(planar420Deep, kernels);

  out << "Nanoseconds per call, 720x480 natural picture, middle row (every block marked), "
         "median of 21 rounds; in brackets the speed-up over portable:\n\n| kernel |";
  for (const KernelSet* set : sets) out << ' ' << set->name << " |";
  out << "\n|---|";
  for (size_t i = 0; i < sets.size(); ++i) out << "---:|";
  out << '\n';
  for (const TimedKernel& kernel : kernels) {
    out << "| " << kernel.name << " |";
    double reference = 0;
    for (const KernelSet* set : sets) {
      const double ns = NanosecondsPerCall([&] { kernel.call(*set); });
      out << ' ' << Cell(ns, set == sets.front() ? 0 : reference) << " |";
      if (set == sets.front()) reference = ns;
    }
    out << '\n';
  }
  out << '\n';
}

}  // namespace velmire::bench
