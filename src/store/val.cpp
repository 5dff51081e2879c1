#include "store/val.h"

namespace store {

long Val(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long value = 0;
  // A long run of digits saturates instead of overflowing.
  constexpr long kLimit = 1'000'000'000L;
  for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i].unicode() - '0');
  }
  return negative ? -value : value;
}

}  // namespace store
