#include "planar/row_job_planar.h"

namespace velmire {

template <typename Sample>
RowJobPlanarOf<Sample> MakeRowJobPlanar(std::span<const CandidateEntryPlanar> table,
                                        const InputFramesPlanar& frames, int cy, int lumaRow,
                                        int chromaWidth, int noise) {
  const FrameRowsPlanar& source = frames.Source();
  RowJobPlanarOf<Sample> job{};
  size_t count = 0;
  for (const CandidateEntryPlanar& entry : table) {
    const FrameRowsPlanar& frame = frames.Frame(entry.frame);
    const int chromaRow = cy + entry.chromaRow;
    job.candidates.at(count++) = RowCandidatePlanarOf<Sample>{
        frame.template LumaRow<Sample>(lumaRow + entry.lumaRow),
        source.template LumaRow<Sample>(lumaRow + entry.referenceRow),
        frame.template URow<Sample>(chromaRow),
        frame.template VRow<Sample>(chromaRow),
        entry.lumaOffset,
        entry.chromaOffset};
  }
  job.count = static_cast<int>(count);
  job.sharedReference = true;
  for (size_t i = 1; i < count; ++i) {
    job.sharedReference = job.sharedReference &&
                          job.candidates[i].reference == job.candidates[0].reference;
  }
  job.sourceU = source.template URow<Sample>(cy);
  job.sourceV = source.template VRow<Sample>(cy);
  job.outputU = frames.output.template URow<Sample>(cy);
  job.outputV = frames.output.template VRow<Sample>(cy);
  job.chromaWidth = chromaWidth;
  job.noise = noise;
  return job;
}

template RowJobPlanarOf<uint8_t> MakeRowJobPlanar(std::span<const CandidateEntryPlanar>,
                                                  const InputFramesPlanar&, int, int, int, int);
template RowJobPlanarOf<uint16_t> MakeRowJobPlanar(std::span<const CandidateEntryPlanar>,
                                                   const InputFramesPlanar&, int, int, int, int);

}  // namespace velmire
