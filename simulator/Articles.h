// The printer's article table as ProgramArticles (107) reaches it, over the
// articles that receipts sell (Receipts::articles):
//   "F"  the first article, "N" the next: the printer keeps its place in the
//        list between the two, so the list can be walked one article a call;
//        the record is "P,PLU,tax letter,group,price,quantity sold,amount
//        sold,storno quantity,storno amount,name"; past the end, or with no
//        article at all, the reply is "F";
//   "P"  tax letter, PLU, then ",group,price,password,name": programs or
//        replaces one article, with the service password;
//   "D"  PLU, ",password": deletes one; the reply is "P" when it did.
// Refusals are status bits (syntax error, not permitted), except that a
// delete that did nothing answers "F" as well.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qmrsim {

class Printer;

struct Articles {
    static constexpr int MaxArticles = 1000;
    static constexpr int MaxPlu = 99999;
    static constexpr int MaxGroup = 99;
    // Long enough for any shop, short enough that every record fits a reply.
    static constexpr std::size_t MaxName = 72;

    // The password that programming and deleting take; not an operator's.
    std::string servicePassword = "4826";
    // The PLU the listing gave last; nothing before the first "F".
    std::optional<int> listedPlu;
};

void RegisterArticlesCommands(Printer& printer);

}  // namespace qmrsim
