#include "ArticleTransfer.h"

#include <array>

#include "ArticleFile.h"
#include "Numbers.h"

namespace vextora {

namespace {

// Wide enough for any price or quantity single precision can hold.
constexpr std::size_t NumberLimit = 512;

std::string ShownNumber(std::string_view field, int width, int precision) {
    return qmr::FormatFixed(qmr::ToSingle(qmr::ReadLeadingNumber(field)), width, precision, NumberLimit).value_or("");
}

}  // namespace

std::string ShowTabs(std::string_view name) {
    std::string shown;
    for (const char c : name) {
        if (c == '\t')
            shown += "\\t";
        else
            shown += c;
    }
    return shown;
}

std::string RestoreTabs(std::string_view name) {
    std::string restored;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 1 < name.size() && name[i + 1] == 't') {
            restored += '\t';
            ++i;
        } else {
            restored += name[i];
        }
    }
    return restored;
}

bool IsArticleRecord(std::string_view reply) { return !reply.empty() && reply[0] == 'P'; }

ArticleRow ParseArticleRecord(std::string_view reply) {
    // Fields 2 to 9 end at a comma; the name is all that follows the ninth.
    auto fields = qmr::SplitFields(reply.size() > 2 ? reply.substr(2) : std::string_view{}, ',', 9);
    const bool named = fields.size() == 9;
    fields.resize(9);
    ArticleRow row;
    row[ColPlu] = std::to_string(qmr::ReadLeadingInt(fields[0]));
    row[ColTax] = std::string(fields[1]);
    row[ColGroup] = std::string(fields[2]);
    row[ColPrice] = ShownNumber(fields[3], 4, 2);
    row[ColQuantity] = ShownNumber(fields[4], 5, 3);
    row[ColName] = named ? ShowTabs(fields[8]) : std::string();
    return row;
}

std::optional<std::string> ProgramArticleData(const ArticleRow& row, std::string_view password) {
    const int plu = qmr::ReadLeadingInt(row[ColPlu]);
    const auto taxIndex = TaxIndexOf(row[ColTax]);
    if (plu == 0 || !taxIndex) return std::nullopt;
    const auto price = qmr::FormatFixed(qmr::ReadLeadingNumber(row[ColPrice]), 4, 2, NumberLimit);
    if (!price) return std::nullopt;
    std::string data = "P";
    data += TaxLetters[*taxIndex - 1];
    data += std::to_string(plu) + "," + std::to_string(qmr::ReadLeadingInt(row[ColGroup])) + "," + *price + ",";
    data.append(password).append(",").append(RestoreTabs(row[ColName]));
    return data;
}

std::string DeleteArticleData(int plu, std::string_view password) {
    std::string data = "D";
    data.append(std::to_string(plu)).append(",").append(password);
    return data;
}

}  // namespace vextora
