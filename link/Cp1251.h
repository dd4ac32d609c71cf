// The printer, the files and the settings speak cp1251 bytes; the windows show
// Unicode. These convert at that edge, one to one for every byte value, so a
// text survives any number of round trips.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qmr {

QString FromCp1251(std::string_view bytes);
// Characters outside the code page become '?'.
std::string ToCp1251(const QString& text);

}  // namespace qmr
