#include "stronger/partner_blend.h"

#include <algorithm>
#include <cstdlib>

namespace velmire {

namespace {
// Detail below this second difference (8-bit units) is too faint to carry visible
// cross-colour, whatever ThresholdY says; the partners' luma may differ by less than kMatch.
constexpr int kDetailFloor = 20;
constexpr int kMatch = 24;
constexpr int kDetailFrom = -2;  // the samples examined, relative to the block's first
constexpr int kDetailTo = 9;
}  // namespace

PartnerLimits PartnerLimitsFor(const Settings& settings, int bitsPerSample) {
  const int scale = 1 << (bitsPerSample - 8);
  return PartnerLimits{std::max(settings.ThresholdY, kDetailFloor) * scale,
                       settings.Noise * scale, kMatch * scale};
}

template <typename Sample>
bool HasFineDetail(LumaRun<Sample> row, int first, int rowSamples, int detail) {
  const int from = std::max(first + kDetailFrom, 1);
  const int to = std::min(first + kDetailTo, rowSamples - 2);
  for (int i = from; i <= to; ++i) {
    if (std::abs(2 * row[i] - row[i - 1] - row[i + 1]) > detail) return true;
  }
  return false;
}

template <typename Sample>
int LumaDifference(LumaRun<Sample> a, LumaRun<Sample> b) {
  int sum = 0;
  for (int i = 0; i < 8; ++i) sum += std::abs(a[i] - b[i]);
  return sum;
}

void BlendWithPartners(const BlockChroma& chroma, int out[8]) {
  int agree = 0;
  int oppose = 0;
  for (int i = 0; i < 8; ++i) {
    if (!chroma.marked[i]) continue;
    agree += std::abs(chroma.partnerA[i] - chroma.partnerB[i]);
    oppose += std::abs(chroma.partnerA[i] + chroma.partnerB[i] - 2 * chroma.own[i]);
  }
  const bool cancelOwn = 2 * agree <= oppose;
  for (int i = 0; i < 8; ++i) {
    const int a = chroma.partnerA[i];
    const int b = chroma.partnerB[i];
    const int own = chroma.own[i];
    if (!chroma.marked[i]) {
      out[i] = own;
    } else {
      out[i] = cancelOwn ? (2 * own + a + b) >> 2 : (a + b) >> 1;
    }
  }
}

template bool HasFineDetail(LumaRun<uint8_t>, int, int, int);
template bool HasFineDetail(LumaRun<uint16_t>, int, int, int);
template int LumaDifference(LumaRun<uint8_t>, LumaRun<uint8_t>);
template int LumaDifference(LumaRun<uint16_t>, LumaRun<uint16_t>);

}  // namespace velmire
