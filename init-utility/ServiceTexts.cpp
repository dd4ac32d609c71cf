#include "ServiceTexts.h"

#include <cstdio>

#include "Numbers.h"

namespace prendix {

namespace {

// A void amount of `sales` hundredths, as "%0.2lf" prints -sales x 0.01.
std::string VoidAmount(int sales) { return qmr::FormatFixed(-sales * 0.01, 0, 2, 64).value_or(""); }

}  // namespace

ReceiptAmounts ParseReceiptAmounts(std::string_view reply) {
    ReceiptAmounts amounts;
    const auto fields = qmr::SplitFields(reply, ',', 3);
    if (fields.size() < 3) return amounts;
    reply = fields[2];
    const auto due = qmr::TakeInt(reply);
    if (!due) return amounts;
    amounts.due = *due;
    if (reply.empty() || reply.front() != ',') return amounts;
    reply.remove_prefix(1);
    amounts.paid = qmr::TakeInt(reply).value_or(0);
    return amounts;
}

std::string RestPaymentText(const ReceiptAmounts& amounts) {
    const double rest = static_cast<double>(amounts.due - amounts.paid) * 0.01;
    return "\t" + qmr::FormatFixed(rest, 0, 2, 64).value_or("");
}

std::string OperatorText(int operatorNumber, std::string_view first, std::string_view second) {
    std::string text = std::to_string(operatorNumber);
    text += ',';
    text += first;
    text += ',';
    text += second;
    return text;
}

std::string TimeText(const LocalDateTime& time) {
    char text[40];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", time.hour, time.minute, time.second);
    return text;
}

ClockFields SplitClockReply(std::string_view reply) {
    const std::size_t blank = reply.find(' ');
    if (blank == std::string_view::npos) return {std::string(reply), {}};
    return {std::string(reply.substr(0, blank)), std::string(reply.substr(blank + 1))};
}

std::string TestSaleText(int k) { return "TEST " + std::to_string(k) + (k % 2 ? "\tA0.01" : "\tB0.01"); }

std::string VoidGroupAText(int sales) { return "VOID GR. A\tA" + VoidAmount(sales); }

std::string VoidGroupBText(int sales) { return "VOID GR B\tB" + VoidAmount(sales); }

}  // namespace prendix
