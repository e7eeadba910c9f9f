#include "yuy2/row_job_yuy2.h"

#include "yuy2/candidate_table_yuy2.h"

namespace velmire {

RowJobYUY2 MakeRowJobYUY2(const InputFramesYUY2& frames, int y, uint8_t* outputRow, int rowSize,
                          int noise) {
  RowJobYUY2 job{};
  for (size_t i = 0; i < CandidateTableYUY2.size(); ++i) {
    const CandidateEntryYUY2& entry = CandidateTableYUY2[i];
    const FrameRowsYUY2& frame = frames[static_cast<size_t>(entry.frame + 1)];
    job.candidates[i] = RowCandidateYUY2{frame.Row(y + entry.rowOffset), entry.shift};
  }
  job.reference = frames[1].Row(y);
  job.output = outputRow;
  job.rowSize = rowSize;
  job.noise = noise;
  return job;
}

}  // namespace velmire
