#include "driver/adif_probe.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(ProbeAdif, TellsAdifFromTheStartOfTheLog) {
  const struct {
    std::string start;
    AdifProbe expected;
  } cases[] = {
      {"Generated on 2024-01-01 for WN4AZY\n<ADIF_VER:5>3.1.0\n<EOH>\n", AdifProbe::WithHeader},
      {"Report for K9CTS\n<eoh>\n<CALL:4>K1AB<eor>\n", AdifProbe::WithHeader},
      {"<CALL:4>K1AB <EOR>\n", AdifProbe::Headerless},
      {"\n\n  \t<call:4>K1AB <eor>\n", AdifProbe::Headerless},
      {"\xEF\xBB\xBF<CALL:4>K1AB <EOR>\n", AdifProbe::Headerless},
      {"\xEF\xBB\xBF \r\n<CALL:4>K1AB <EOR>\n", AdifProbe::Headerless},
      {"<CALL:4>K1AB\n", AdifProbe::NotAdif},  // no end of record yet
      {"22-JUN-02 1432 14 SSB G4ABC <EOR> in a remark\n", AdifProbe::NotAdif},
      {"x<CALL:4>K1AB <EOR>\n", AdifProbe::NotAdif},
      {"", AdifProbe::NotAdif},
      {"\xEF\xBB\xBF", AdifProbe::NotAdif},
  };
  for (const auto& c : cases) EXPECT_EQ(probeAdif(c.start), c.expected) << c.start;
}

}  // namespace
}  // namespace quorvel
