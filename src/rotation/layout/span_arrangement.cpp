#include "rotation/layout/span_arrangement.h"

namespace quillet {
namespace {

int64_t End(const Span& span) {
  return span.start + span.length;
}

// The order of the starts before, ties kept in the order given.
bool Precedes(const SpanMove* spans, size_t a, size_t b) {
  return spans[a].before.start < spans[b].before.start ||
         (spans[a].before.start == spans[b].before.start && a < b);
}

// Whether `earlier` ended before `later` began with no third span lying
// wholly between them: `later` then follows it directly.
bool IsNeighbour(const SpanMove* spans, size_t count, size_t earlier, size_t later) {
  const int64_t from = End(spans[earlier].before);
  const int64_t to = spans[later].before.start;
  if (from > to) return false;
  for (size_t k = 0; k < count; ++k) {
    if (k == earlier || k == later) continue;
    if (spans[k].before.start >= from && End(spans[k].before) <= to) return false;
  }
  return true;
}

}  // namespace

void ArrangeSpans(SpanMove* spans, size_t count) {
  // Placed in the order of their starts, each after all it may follow; the
  // next one is picked afresh each time, so no list of the order is kept.
  size_t last = count;
  for (size_t placed = 0; placed < count; ++placed) {
    size_t next = count;
    for (size_t i = 0; i < count; ++i) {
      if (last != count && !Precedes(spans, last, i)) continue;
      if (next == count || Precedes(spans, i, next)) next = i;
    }
    SpanMove& span = spans[next];
    span.start = span.before.start;
    bool follows = false;
    for (size_t j = 0; j < count; ++j) {
      if (!Precedes(spans, j, next) || !IsNeighbour(spans, count, j, next)) continue;
      const int64_t after =
          spans[j].start + spans[j].length + (span.before.start - End(spans[j].before));
      if (!follows || after > span.start) span.start = after;
      follows = true;
    }
    last = next;
  }
}

}  // namespace quillet
