// The data texts of the printer's article table (ProgramArticles): the
// record the listing gives, and the texts that program and delete one
// article. The grid shows a TAB of a name as the two characters "\t", so the
// name can be seen and travels back to the printer as a TAB.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ArticleTable.h"

namespace vextora {

// Each TAB as backslash and t.
std::string ShowTabs(std::string_view name);
// Each backslash-and-t back to a TAB; any other character, a lone backslash
// too, stays as it is.
std::string RestoreTabs(std::string_view name);

// Whether a listing reply is an article record: it begins with 'P'.
bool IsArticleRecord(std::string_view reply);
// The grid row of a record "P,PLU,tax,group,price,quantity,x,x,x,name",
// read from its third character; a field the reply does not reach is empty,
// and a price or quantity that no field can show is left empty.
ArticleRow ParseArticleRecord(std::string_view reply);

// "P<tax letter><PLU>,<group>,<price>,<password>," and the name with its
// TABs restored; nothing for a row the printer cannot be given (PLU 0, no
// valid tax letter, a price that is no finite number). No length is cut
// here: the link refuses a text it cannot carry.
std::optional<std::string> ProgramArticleData(const ArticleRow& row, std::string_view password);
// "D<PLU>,<password>".
std::string DeleteArticleData(int plu, std::string_view password);

}  // namespace vextora
