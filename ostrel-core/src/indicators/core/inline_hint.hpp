// Inlining hints for the per-update paths of the window cores.
//
// The kinds are compiled in unity batches, so whether GCC inlines a core's step into a
// kind's update depends on how many other kinds of the batch call it and on how large
// the step has grown, not on how hot it is. A step that falls out of line costs a
// call, spills its arguments and, worse, stores the window's sums in one width and
// reloads them in another, which stalls store forwarding. OSTREL_ALWAYS_INLINE keeps
// a small per-update step inside its caller; OSTREL_OUT_OF_LINE keeps a rare, long
// branch (a periodic re-summation, a storage growth) out of it so that the inlined
// step stays small. Neither changes any arithmetic.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define OSTREL_ALWAYS_INLINE [[gnu::always_inline]] inline
#define OSTREL_OUT_OF_LINE [[gnu::noinline, gnu::cold]]
#else
#define OSTREL_ALWAYS_INLINE inline
#define OSTREL_OUT_OF_LINE
#endif
