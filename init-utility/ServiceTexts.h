// The data texts Prendix's service dialogs send and the replies they read:
// the open receipt's amounts and the payment of its rest, the operators'
// name and password texts, the clock's texts, and the test receipts' lines.
// Texts are cp1251 bytes, built to their length (nothing is cut short here;
// the link refuses a text longer than a frame carries).
#pragma once

#include <string>
#include <string_view>

namespace prendix {

// ReadReceiptTotals "T": after the second comma the amount due, a comma
// and the amount paid, in hundredths. An amount that cannot be read stays
// 0, and so does the paid one after it; so do both when the reply has fewer
// than two commas.
struct ReceiptAmounts {
    long long due = 0;
    long long paid = 0;
};
ReceiptAmounts ParseReceiptAmounts(std::string_view reply);
// RegisterPayment of what is still due: TAB and (due - paid) / 100 with two
// decimals, negative when more was paid than is due.
std::string RestPaymentText(const ReceiptAmounts& amounts);

// SetOperatorName and SetOperatorPassword: the operator number and two
// fields, commas between them, the fields as typed.
std::string OperatorText(int operatorNumber, std::string_view first, std::string_view second);

// A local date and time, as the clock dialog shows the computer's.
struct LocalDateTime {
    unsigned day = 1, month = 1, year = 2000, hour = 0, minute = 0, second = 0;
};
// "HH:MM:SS"; the date shows as DateText (ReportTexts.h) has it.
std::string TimeText(const LocalDateTime& time);
// ReadDateTime's reply split at its first blank; without a blank the whole
// reply is the date and the time is empty.
struct ClockFields {
    std::string date;
    std::string time;
};
ClockFields SplitClockReply(std::string_view reply);

// The test receipts: sale k of 0.01 in group A when k is odd, B when even,
// and the void lines that take back `sales` such sales of group A or B.
std::string TestSaleText(int k);
std::string VoidGroupAText(int sales);
std::string VoidGroupBText(int sales);

}  // namespace prendix
