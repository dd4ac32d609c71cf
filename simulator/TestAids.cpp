#include "TestAids.h"

#include <algorithm>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

std::string SetTestSwitch(Printer& printer, const Request& request) {
    if (request.data != "0" && request.data != "1") {
        printer.Fail(st::SyntaxError);
        return "";
    }
    printer.testAids.testMode = request.data == "1";
    return "";
}

std::string CutPaper(Printer& printer, const Request&) {
    TestAids& t = printer.testAids;
    if (t.cutsLeft == 0) return "E";
    if (t.cutsLeft > 0) --t.cutsLeft;
    ++t.cuts;
    printer.paper.push_back("----- CUT -----");
    return "P";
}

std::string SendDigitText(Printer& printer, const Request& request) {
    const std::string& digits = request.data;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    printer.paper.push_back(digits);
    return "";
}

}  // namespace

void RegisterTestAidsCommands(Printer& printer) {
    printer.SetHandler(qmr::SetTestSwitch, SetTestSwitch);
    printer.SetHandler(qmr::SendProgressText, [](Printer& p, const Request& q) {
        p.testAids.progressText = q.data;
        return std::string();
    });
    printer.SetHandler(qmr::CutPaper, CutPaper);
    printer.SetHandler(qmr::SendDigitText, SendDigitText);
}

}  // namespace qmrsim
