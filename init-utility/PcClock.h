// The PC's local date and time, as the dialogs that offer "today" read it.
// A test fixes it, so that what it sees does not hang on the day it runs.
#pragma once

#include <QDateTime>

namespace prendix {

QDateTime PcNow();
// From now on PcNow gives this time, standing still; an invalid QDateTime
// puts the PC's clock back.
void FixPcNow(const QDateTime& time);

}  // namespace prendix
