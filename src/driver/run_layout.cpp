#include "driver/run_layout.h"

namespace quorvel {

RecordLayout RunLayout::forLog(LogFormat format) {
  LayoutSet set = lines_.wideTextLogs ? LayoutSet::Wide : LayoutSet::Narrow;
  switch (format) {
    case LogFormat::Adx:
    case LogFormat::Adif: set = options_.keepComments ? LayoutSet::WideWithComment : LayoutSet::Wide; break;
    case LogFormat::Cabrillo:
    case LogFormat::Edi: set = LayoutSet::Wide; break;
    case LogFormat::ColumnText: break;
  }
  RecordLayout layout = chooseLayout(set, {options_.noDate, options_.noTime});
  layout.meanings = lines_.meanings;
  last_ = layout;
  return layout;
}

RecordLayout RunLayout::forPage() const {
  RecordLayout page = *last_;
  page.withComment = options_.keepComments;
  return page;
}

}  // namespace quorvel
