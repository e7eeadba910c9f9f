#include "lab/sweep/demo_judgement.h"

namespace velmire::lab {

void DemoJudgementTally::Add(const StreamFrameView& input, const StreamFrameView& output,
                             const StreamFrameView& clean, const std::uint8_t* detail_mask) {
  changed_.Add(input, output, detail_mask);
  before_.Add(input, clean, detail_mask);
  after_.Add(output, clean, detail_mask);
}

DemoJudgement DemoJudgementTally::Result() const {
  return DemoJudgement{changed_.Share(), before_.Mean(), after_.Mean()};
}

}  // namespace velmire::lab
