// The printer's reports beyond the daily one: the history of tax rates and
// the periodical reports by record number and by date, short or detailed,
// read from the fiscal memory's records, and the articles report from the
// article table. Each prints on the paper log between the receipt top and
// bottom, and only for an operator's password with no receipt open.
//
// Data, as the commands take it:
//   50 tax-rate history, 79 short and 94 detailed by date: "password,DDMMYY,DDMMYY"
//   95 short and 73 detailed by number: "password,first,last"
//   111 articles: "password,K[from,to]" with K one of P (programmed), S
//       (sold), S# (sold in storno receipts), and "password,G" or "password,G#"
//       for the sums by article group.
// A malformed text, an impossible date, a range that ends before it starts
// or a range given to a group report raises "syntax error"; a wrong
// password, an open receipt, or a fiscal-memory period without a closure
// raises "not permitted". Nothing is printed then.
#pragma once

#include <optional>
#include <string_view>

#include "Clock.h"

namespace qmrsim {

class Printer;

// "DDMMYY" as a date of 2000-2099; nothing for anything else.
std::optional<CivilTime> ParseReportDate(std::string_view text);

// Registers PrintTaxRateHistory, the four periodical reports and
// PrintArticlesReport.
void RegisterReportsCommands(Printer& printer);

}  // namespace qmrsim
