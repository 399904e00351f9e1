#pragma once
#include <cstddef>
#include <cstdint>

namespace quillet {

// Where an output lies along one axis of the desktop.
struct Span {
  int64_t start;
  int64_t length;
};

// One output along one axis while the outputs take new lengths: where it
// lay, the length it takes, and where it is to start (set by ArrangeSpans).
struct SpanMove {
  Span before;
  int64_t length;
  int64_t start;
};

// Gives spans that take new lengths their new starts. A span keeps its start
// unless others ended before it; then it follows its nearest neighbours there
// (those with no other span in between) at the gap it had to each, the
// farthest of them winning. So outputs side by side stay side by side, in
// their order, whatever their widths become, and nothing that was apart
// comes to overlap. Needs no memory of its own: the Windows library has no
// runtime to ask.
void ArrangeSpans(SpanMove* spans, size_t count);

}  // namespace quillet
