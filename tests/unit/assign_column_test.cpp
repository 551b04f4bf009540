#include "detect/assign_column.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "detect/space_tokens.h"

namespace quorvel {
namespace {

// Assigns the columns of a first data line and describes the outcome as
// "role@column" for each assignment, in token order.
std::string assign(const std::string& line, ColumnMap* out = nullptr) {
  ColumnMap columns;
  SpaceTokens tokens(line);
  std::string_view token;
  std::string outcome;
  for (int column = 0; tokens.next(token); ++column) {
    if (auto role = assignColumn(columns, token, column)) {
      outcome += std::string(columnRoleName(*role)) + "@" + std::to_string(column) + " ";
    }
  }
  if (out != nullptr) *out = columns;
  return outcome;
}

TEST(AssignColumn, RuleOrderAndSurprises) {
  const struct {
    const char* line;
    const char* outcome;
  } cases[] = {
      {"22-JUN-02 1432 14 SSB GB4XYZ 59 59", "date@0 time@1 band@2 mode@3 callsign@4 "},
      {"GB4XYZ 22-JUN-02 1432 14 SSB", "date@0 time@2 band@3 mode@4 "},  // 6 characters: a date
      {"14.025 22-JUN-02 1432 SSB G4ABC", "date@0 time@2 mode@3 callsign@4 "},
      {"020622 1432 020623 14 CW G4ABC", "date@0 time@1 band@2 mode@4 callsign@5 "},  // holds "20"
      {"020622 020623 14 CW G4ABC", "date@0 time@1 band@2 mode@3 callsign@4 "},
      {"20020622 1432 14 CW G4ABC", "time@0 band@1 mode@3 callsign@4 "},  // 8 digits: the time
      {"06/22 932 14:32 CW G4ABC", "band@2 mode@3 callsign@4 "},
      {"22-JUN-02 1432 1500 SSB G4ABC", "date@0 time@1 band@2 mode@3 callsign@4 "},
      {"22-JUN-02 1432 GB7XYZ 14 SSB", "date@0 time@1 band@2 mode@4 "},
      {"22-JUN-02 1432 GB7XYZ 20M SSB", "date@0 time@1 band@2 callsign@3 mode@4 "},
      {"22-JUN-02 1432 579 14 SSB G4ABC", "date@0 time@1 band@2 mode@4 callsign@5 "},
      {"22-JUN-02 1432 599 14 SSB G4ABC", "date@0 time@1 band@3 mode@4 callsign@5 "},
      {"22-JUN-02 1432 14 USB G4ABC", "date@0 time@1 band@2 callsign@4 "},
  };
  for (const auto& c : cases) EXPECT_EQ(assign(c.line), c.outcome) << c.line;
}

TEST(AssignColumn, UnassignedRolesStayUnassigned) {
  ColumnMap columns;
  assign("G4ABC", &columns);
  EXPECT_EQ(columns.callsignColumn, 0);
  EXPECT_EQ(columns.dateColumn, ColumnMap::kUnassigned);
  EXPECT_EQ(columns.timeColumn, ColumnMap::kUnassigned);
  EXPECT_EQ(columns.bandColumn, ColumnMap::kUnassigned);
  EXPECT_EQ(columns.modeColumn, ColumnMap::kUnassigned);
}

}  // namespace
}  // namespace quorvel
