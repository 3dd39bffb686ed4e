#include "util/ShareLists.h"

#include "util/CaseConversion.h"
#include "util/CharClasses.h"
#include "util/PathText.h"

#include <optional>
#include <string_view>

namespace share_lists {
namespace {

using Share = ShareEnumerator::Share;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A parameter name as Samba compares them: letter case and blanks do not count.
std::string ParameterName(std::string_view text)
{
    std::string out;
    for (const char c : text)
        if (!IsBlank(c))
            out += ToLowerAscii(c);
    return out;
}

std::optional<bool> ParseBool(std::string_view text)
{
    const std::string word = ToLowerCase(Trim(text));
    if (word == "yes" || word == "true" || word == "1" || word == "y")
        return true;
    if (word == "no" || word == "false" || word == "0" || word == "n")
        return false;
    return std::nullopt;
}

// A local path as the shares keep it: absolute, without a trailing '/' (but for the root).
std::optional<std::string> LocalPath(std::string_view text)
{
    const std::string_view path = Trim(text);
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    return std::string(WithoutTrailingSlashes(path));
}

// Reads a logical line: physical lines joined where one ends with a backslash.
bool ReadJoinedLine(std::istream& in, std::string& line)
{
    if (!ReadBoundedLine(in, line))
        return false;
    std::string next;
    while (!line.empty() && line.back() == '\\' && ReadBoundedLine(in, next)) {
        line.pop_back();
        if (line.size() + next.size() > kMaxLineLength) {
            line.clear();
            continue;
        }
        // The continuation's own indentation does not count.
        line += Trim(next);
    }
    return true;
}

// One section of the Samba configuration, turned into a share when it is one.
struct SambaSection {
    std::string name;
    std::string path;
    bool available = true;
    bool printable = false;

    std::optional<Share> ToShare() const
    {
        const std::string lower = ToLowerCase(std::string_view(name));
        if (lower.empty() || lower == "global" || lower == "homes" || lower == "printers")
            return std::nullopt;
        if (name.back() == '$' || !available || path.find('%') != std::string::npos)
            return std::nullopt;
        const auto local = LocalPath(path);
        if (!local)
            return std::nullopt;
        return Share { name, *local,
            printable ? ShareEnumerator::ShareType::PrintQueue : ShareEnumerator::ShareType::Disk };
    }

    void Set(const std::string& key, std::string_view value)
    {
        if (key == "path" || key == "directory")
            path = std::string(Trim(value));
        else if (key == "available")
            available = ParseBool(value).value_or(available);
        else if (key == "printable" || key == "printok")
            printable = ParseBool(value).value_or(printable);
    }
};

} // namespace

bool ReadBoundedLine(std::istream& in, std::string& line)
{
    line.clear();
    bool tooLong = false;
    bool any = false;
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        any = true;
        if (c == '\n')
            break;
        if (line.size() < kMaxLineLength)
            line += static_cast<char>(c);
        else
            tooLong = true;
    }
    if (tooLong)
        line.clear();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

std::vector<Share> ReadSambaConfig(std::istream& in)
{
    std::vector<Share> shares;
    std::optional<SambaSection> section;
    const auto close = [&] {
        if (section)
            if (auto share = section->ToShare())
                shares.push_back(std::move(*share));
        section.reset();
    };
    std::string line;
    while (ReadJoinedLine(in, line)) {
        const std::string_view text = Trim(line);
        if (text.empty() || text.front() == '#' || text.front() == ';')
            continue;
        if (text.front() == '[') {
            // A header without its ']' ends the section before it and starts none.
            close();
            const auto end = text.find(']');
            if (end != std::string_view::npos) {
                section.emplace();
                section->name = std::string(Trim(text.substr(1, end - 1)));
            }
            continue;
        }
        const auto equals = text.find('=');
        if (section && equals != std::string_view::npos)
            section->Set(ParameterName(text.substr(0, equals)), text.substr(equals + 1));
    }
    close();
    return shares;
}

std::vector<Share> ReadSambaUserShare(std::istream& in, const std::string& name)
{
    SambaSection section;
    section.name = name;
    std::string line;
    while (ReadBoundedLine(in, line)) {
        const std::string_view text = Trim(line);
        const auto equals = text.find('=');
        if (text.empty() || text.front() == '#' || equals == std::string_view::npos)
            continue;
        if (ParameterName(text.substr(0, equals)) == "path")
            section.path = std::string(Trim(text.substr(equals + 1)));
    }
    // A user share is never a print share, and its name is not a section Samba reserves.
    if (const auto share = section.ToShare())
        return { *share };
    return {};
}

namespace {

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

// The exported path at the start of an exports line: plain, or in double quotes, with \ooo octal
// escapes for blanks as exportfs writes them.
std::string ExportPath(std::string_view text)
{
    std::string path;
    const bool quoted = !text.empty() && text.front() == '"';
    size_t i = quoted ? 1 : 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted ? c == '"' : (IsBlank(c) || c == '#'))
            break;
        if (c == '\\' && i + 3 < text.size() && IsOctal(text[i + 1]) && IsOctal(text[i + 2])
            && IsOctal(text[i + 3])) {
            path += static_cast<char>(
                ((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0'));
            i += 3;
            continue;
        }
        path += c;
    }
    return path;
}

} // namespace

std::vector<Share> ReadNfsExports(std::istream& in)
{
    std::vector<Share> shares;
    std::string line;
    while (ReadJoinedLine(in, line)) {
        const std::string_view text = Trim(line);
        if (text.empty() || text.front() == '#')
            continue;
        if (const auto local = LocalPath(ExportPath(text)))
            shares.push_back(Share { *local, *local, ShareEnumerator::ShareType::Disk });
    }
    return shares;
}

} // namespace share_lists
