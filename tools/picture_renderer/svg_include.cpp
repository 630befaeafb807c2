#include "svg_include.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include <gio/gio.h>

namespace picture_renderer {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text with every XML comment blanked out, character for character, so that an element
// quoted in a comment is not taken for one and positions stay those of the text.
std::string blankComments(std::string text)
{
    std::size_t open = 0;
    while ((open = text.find("<!--", open)) != std::string::npos) {
        std::size_t close = text.find("-->", open + 4);
        close = close == std::string::npos ? text.size() : close + 3;
        std::fill(text.begin() + static_cast<std::ptrdiff_t>(open), text.begin() + static_cast<std::ptrdiff_t>(close),
                  ' ');
        open = close;
    }
    return text;
}

// The included document from its root element on: no XML declaration or comment before it.
std::string rootElement(const std::string& text, const std::string& href)
{
    static const std::regex root(R"(<svg[\s>])");
    const std::string scanned = blankComments(text);
    std::smatch match;
    if (!std::regex_search(scanned, match, root))
        throw std::runtime_error("includes " + href + ", which has no <svg> root");
    return text.substr(static_cast<std::size_t>(match.position(0)));
}

}  // namespace

std::string svgWithIncludes(const fs::path& svg)
{
    const std::string text = readText(svg);
    const std::string scanned = blankComments(text);
    static const std::regex include(R"(<xi:include\b([^>]*)>)");
    static const std::regex hrefAttribute(R"(\bhref\s*=\s*["']([^"']*)["'])");
    static const std::regex parseAttribute(R"(\bparse\s*=\s*["']([^"']*)["'])");
    const fs::path folder = fs::absolute(svg).parent_path();
    const fs::path tree = fs::weakly_canonical(folder.parent_path());

    std::string out;
    std::size_t copied = 0;
    for (std::sregex_iterator it(scanned.begin(), scanned.end(), include), end; it != end; ++it) {
        const std::smatch& element = *it;
        const std::string attributes = element[1];
        std::smatch value;
        if (!std::regex_search(attributes, value, hrefAttribute)) {
            throw std::runtime_error("has an <xi:include> without href");
        }
        const std::string href = value[1];
        if (attributes.empty() || attributes.back() != '/') {
            throw std::runtime_error("includes " + href + " in an <xi:include> that is not an empty element");
        }
        if (std::regex_search(attributes, value, parseAttribute) && value[1] != "xml") {
            throw std::runtime_error("includes " + href + " with parse=\"" + value[1].str() + "\"; only xml is drawn");
        }
        std::error_code ec;
        const fs::path file = fs::canonical(folder / href, ec);
        if (ec || !fs::is_regular_file(file, ec))
            throw std::runtime_error("includes " + href + ", which is not found");
        const fs::path inTree = file.lexically_relative(tree);
        if (inTree.empty() || *inTree.begin() == "..") {
            throw std::runtime_error("includes " + href + ", which lies outside " + tree.string());
        }
        const std::string included = readText(file);
        if (std::regex_search(blankComments(included), include)) {
            throw std::runtime_error("includes " + href + ", which includes another file itself");
        }
        const auto at = static_cast<std::size_t>(element.position(0));
        out.append(text, copied, at - copied);
        out += rootElement(included, href);
        copied = at + static_cast<std::size_t>(element.length(0));
    }
    out.append(text, copied, std::string::npos);  // NOLINT(readability-suspicious-call-argument): the rest of the text
    return out;
}

RsvgHandle* openSvg(const fs::path& svg, GError** error)
{
    const std::string text = svgWithIncludes(svg);
    GFile* base = g_file_new_for_path(svg.c_str());
    GInputStream* stream = g_memory_input_stream_new_from_data(text.data(), static_cast<gssize>(text.size()), nullptr);
    RsvgHandle* handle = rsvg_handle_new_from_stream_sync(stream, base, RSVG_HANDLE_FLAGS_NONE, nullptr, error);
    g_object_unref(stream);
    g_object_unref(base);
    return handle;
}

}  // namespace picture_renderer
