#include "platform/mimeapps_list.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace pagora {
namespace {

constexpr std::string_view kDefaultsGroup = "[Default Applications]";
constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The lines of the file, each with its own line end.
class ListLines {
public:
    explicit ListLines(std::string_view list) {
        while (!list.empty()) {
            const std::size_t end = std::min(list.find('\n'), list.size() - 1) + 1;
            lines_.emplace_back(list.substr(0, end));
            list.remove_prefix(end);
        }
    }

    std::string text() const {
        std::string joined;
        for (const std::string& line : lines_)
            joined += line;
        return joined;
    }

    // The line without its end; a CR before the LF belongs to the end.
    std::string_view content(std::size_t index) const {
        std::string_view line = lines_[index];
        if (line.ends_with('\n'))
            line.remove_suffix(1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        return line;
    }
    std::string_view lineEnd(std::size_t index) const {
        return std::string_view(lines_[index]).substr(content(index).size());
    }

    // First and one-past-last line of the defaults group (after its header).
    std::optional<std::pair<std::size_t, std::size_t>> defaultsGroup() const {
        std::size_t index = 0;
        while (index < lines_.size() && trimmed(content(index)) != kDefaultsGroup)
            ++index;
        if (index == lines_.size())
            return std::nullopt;
        std::size_t end = index + 1;
        while (end < lines_.size() && !trimmed(content(end)).starts_with('['))
            ++end;
        return std::pair{index + 1, end};
    }

    std::optional<std::size_t> entry(std::string_view mimeType) const {
        const auto group = defaultsGroup();
        if (!group)
            return std::nullopt;
        for (std::size_t index = group->first; index < group->second; ++index) {
            const std::string_view line = content(index);
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos && trimmed(line.substr(0, equals)) == mimeType)
                return index;
        }
        return std::nullopt;
    }

    std::vector<std::string> applications(std::size_t index) const {
        std::string_view value = content(index);
        value.remove_prefix(value.find('=') + 1);
        std::vector<std::string> names;
        while (!value.empty()) {
            const std::size_t end = std::min(value.find(';'), value.size());
            if (const std::string_view name = trimmed(value.substr(0, end)); !name.empty())
                names.emplace_back(name);
            value.remove_prefix(std::min(end + 1, value.size()));
        }
        return names;
    }

    void replace(std::size_t index, std::string line) { lines_[index] = std::move(line); }
    void erase(std::size_t index) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    }

    // Adds a line at the end of the defaults group (after its last line that
    // is not blank), making the group where there is none.
    void addToDefaults(const std::string& line) {
        const auto group = defaultsGroup();
        if (!group) {
            if (!lines_.empty() && !lines_.back().ends_with('\n'))
                lines_.back() += '\n';
            lines_.emplace_back(std::string(kDefaultsGroup) + "\n");
            lines_.push_back(line);
            return;
        }
        std::size_t at = group->second;
        while (at > group->first && trimmed(content(at - 1)).empty())
            --at;
        if (at > 0 && !lines_[at - 1].ends_with('\n'))
            lines_[at - 1] += '\n';
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), line);
    }

private:
    std::vector<std::string> lines_;
};

std::string entryLine(std::string_view mimeType, const std::vector<std::string>& applications,
                      std::string_view lineEnd) {
    std::string line(mimeType);
    line += '=';
    for (const std::string& application : applications)
        line += application + ";";
    return line + std::string(lineEnd.empty() ? "\n" : lineEnd);
}

} // namespace

std::string withDefaultApplication(std::string_view list, std::string_view mimeType,
                                   std::string_view application) {
    ListLines lines(list);
    std::vector<std::string> applications{std::string(application)};
    const std::optional<std::size_t> entry = lines.entry(mimeType);
    if (!entry) {
        lines.addToDefaults(entryLine(mimeType, applications, "\n"));
        return lines.text();
    }
    std::vector<std::string> before = lines.applications(*entry);
    std::erase(before, application);
    applications.insert(applications.end(), before.begin(), before.end());
    lines.replace(*entry, entryLine(mimeType, applications, lines.lineEnd(*entry)));
    return lines.text();
}

std::string withoutDefaultApplication(std::string_view list, std::string_view mimeType,
                                      std::string_view application) {
    ListLines lines(list);
    const std::optional<std::size_t> entry = lines.entry(mimeType);
    if (!entry)
        return std::string(list);
    std::vector<std::string> applications = lines.applications(*entry);
    const std::size_t count = applications.size();
    std::erase(applications, application);
    if (applications.size() == count)
        return std::string(list);
    if (applications.empty())
        lines.erase(*entry);
    else
        lines.replace(*entry, entryLine(mimeType, applications, lines.lineEnd(*entry)));
    return lines.text();
}

} // namespace pagora
