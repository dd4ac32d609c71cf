#include "PcClock.h"

namespace prendix {

namespace {
QDateTime fixed;
}

QDateTime PcNow() { return fixed.isValid() ? fixed : QDateTime::currentDateTime(); }

void FixPcNow(const QDateTime& time) { fixed = time; }

}  // namespace prendix
