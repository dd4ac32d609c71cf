#include "HeaderFile.h"

namespace prendix {

std::string HeaderWriteData(int n, const std::string* text) {
    return std::to_string(n) + (text ? *text : std::string());
}

std::string FormatHeaderFile(const std::vector<std::string>& header, const std::vector<std::string>& footer) {
    std::string file;
    const auto add = [&file](int n, const std::string& text) { file += std::to_string(n) + "," + text + "\r\n"; };
    for (std::size_t i = 0; i < header.size() && i < HeaderOnlyLines; ++i) add(static_cast<int>(i), header[i]);
    for (std::size_t i = 0; i < footer.size() && i < HeaderLineCount - HeaderOnlyLines; ++i)
        add(HeaderOnlyLines + static_cast<int>(i), footer[i]);
    return file;
}

HeaderSlots ParseHeaderFile(std::string_view file) {
    HeaderSlots result;
    std::string line;
    const auto endLine = [&] {
        if (line.size() >= 2 && line[0] >= '0' && line[0] <= '7' && line[1] == ',')
            result[static_cast<std::size_t>(line[0] - '0')] = line.substr(2);
        line.clear();
    };
    for (const char c : file) {
        if (c == '\n') {
            endLine();
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20) continue;
        line += c;
        if (line.size() == MaxHeaderFileLine) endLine();
    }
    endLine();
    return result;
}

}  // namespace prendix
