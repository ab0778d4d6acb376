#include "framework/dialogs/FileDialogArgs.h"

#include <sstream>

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string QtPatterns(const std::string& patterns) {
    std::string joined;
    for (const std::string& raw : Split(patterns, ';')) {
        std::string pattern = Trimmed(raw);
        if (pattern.empty())
            continue;
        if (pattern == "*.*")
            pattern = "*";
        if (!joined.empty())
            joined += ' ';
        joined += pattern;
    }
    return joined;
}

} // namespace

namespace afx {

std::vector<FileDialogArgs::Filter> ParseFileDialogFilter(LPCSTR filter) {
    std::vector<FileDialogArgs::Filter> filters;
    if (filter == nullptr)
        return filters;
    std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() || parts[i + 1].empty())
            break;
        filters.push_back({parts[i], parts[i + 1], parts[i] + " (" + QtPatterns(parts[i + 1]) + ")"});
    }
    return filters;
}

} // namespace afx
