#include "platform/testing/ViewTreeDump.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace uitest {

namespace {

std::string quoteText(const std::string& text)
{
    std::string result = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            result += "\\\"";
            break;
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            result += c;
        }
    }
    return result + "\"";
}

std::optional<std::string> shownText(const ui::View& view)
{
    if (auto* label = dynamic_cast<const ui::Label*>(&view))
        return label->text();
    if (auto* button = dynamic_cast<const ui::Button*>(&view))
        return button->currentTitle();
    if (auto* field = dynamic_cast<const ui::TextField*>(&view))
        return field->text();
    if (auto* textView = dynamic_cast<const ui::TextView*>(&view))
        return textView->text();
    return std::nullopt;
}

void dump(const ui::View& view, const DumpOptions& options, int depth, std::string& out)
{
    if (view.isHidden() && !options.includeHidden)
        return;
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += view.className();
    ui::Rect frame = view.frame();
    out += " (" + formatNumber(frame.origin.x) + ", " + formatNumber(frame.origin.y) + ", "
        + formatNumber(frame.size.width) + ", " + formatNumber(frame.size.height) + ")";
    if (view.isHidden())
        out += " hidden";
    if (std::fabs(view.alpha() - 1) > 1e-9)
        out += " alpha=" + formatNumber(view.alpha());
    if (auto text = shownText(view)) {
        out += ' '; // appended alone: " " + std::string trips GCC 12's -Wrestrict in Release
        out += quoteText(*text);
    }
    if (!view.accessibilityIdentifier().empty())
        out += " id=" + quoteText(view.accessibilityIdentifier());
    if (view.tag() != 0)
        out += " tag=" + std::to_string(view.tag());
    out += '\n';
    if (options.maxDepth >= 0 && depth >= options.maxDepth)
        return;
    if (!options.includeButtonInternals && dynamic_cast<const ui::Button*>(&view))
        return;
    for (auto& subview : view.subviews())
        dump(*subview, options, depth + 1, out);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

} // namespace

std::string formatNumber(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
    double rounded = std::round(value * 1e6) / 1e6;
    if (rounded == 0)
        rounded = 0; // no "-0"
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), rounded);
    return std::string(buffer, result.ptr);
}

std::string dumpViewTree(const ui::View& view, const DumpOptions& options)
{
    std::string out;
    dump(view, options, 0, out);
    return out;
}

std::string dumpViewTree(const std::shared_ptr<ui::View>& view, const DumpOptions& options)
{
    return view ? dumpViewTree(*view, options) : std::string();
}

FileComparison compareWithFile(const std::string& text, const std::string& path)
{
    FileComparison comparison;
    const char* update = std::getenv("LECTORO_UPDATE_EXPECTED");
    if (update && std::string(update) == "1") {
        std::error_code error;
        std::filesystem::path file(path);
        if (file.has_parent_path())
            std::filesystem::create_directories(file.parent_path(), error);
        std::ofstream output(path, std::ios::binary | std::ios::trunc);
        output << text;
        comparison.matches = static_cast<bool>(output);
        comparison.updated = comparison.matches;
        comparison.message = comparison.matches ? "updated " + path : "could not write " + path;
        return comparison;
    }
    std::ifstream input(path, std::ios::binary);
    if (!input) {
        comparison.message = "expected file missing: " + path
            + " (run with LECTORO_UPDATE_EXPECTED=1 to write it)\nactual:\n" + text;
        return comparison;
    }
    std::stringstream buffer;
    buffer << input.rdbuf();
    std::string expected = buffer.str();
    if (expected == text) {
        comparison.matches = true;
        return comparison;
    }
    auto expectedLines = splitLines(expected);
    auto actualLines = splitLines(text);
    size_t line = 0;
    while (
        line < expectedLines.size() && line < actualLines.size() && expectedLines[line] == actualLines[line])
        ++line;
    std::string expectedLine = line < expectedLines.size() ? expectedLines[line] : "(end of file)";
    std::string actualLine = line < actualLines.size() ? actualLines[line] : "(end of text)";
    comparison.message = "differs from " + path + " at line " + std::to_string(line + 1)
        + "\n  expected: " + expectedLine + "\n  actual:   " + actualLine + "\nactual text:\n" + text;
    return comparison;
}

} // namespace uitest
