#include "svg_include.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include <gio/gio.h>

namespace picture_renderer {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The included document from its root element on: no XML declaration or comment before it.
std::string rootElement(const std::string& text, const std::string& href) {
    static const std::regex root(R"(<svg[\s>])");
    std::smatch match;
    if (!std::regex_search(text, match, root)) throw std::runtime_error("includes " + href + ", which has no <svg> root");
    return text.substr(static_cast<std::size_t>(match.position(0)));
}

}  // namespace

std::string svgWithIncludes(const fs::path& svg) {
    const std::string text = readText(svg);
    static const std::regex include(R"(<xi:include\b([^>]*)>)");
    static const std::regex hrefAttribute(R"(\bhref\s*=\s*["']([^"']*)["'])");
    static const std::regex parseAttribute(R"(\bparse\s*=\s*["']([^"']*)["'])");
    const fs::path folder = fs::absolute(svg).parent_path();
    const fs::path tree = fs::weakly_canonical(folder.parent_path());

    std::string out;
    auto copied = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it) {
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
        if (ec || !fs::is_regular_file(file, ec)) throw std::runtime_error("includes " + href + ", which is not found");
        const fs::path inTree = file.lexically_relative(tree);
        if (inTree.empty() || *inTree.begin() == "..") {
            throw std::runtime_error("includes " + href + ", which lies outside " + tree.string());
        }
        const std::string included = readText(file);
        if (std::regex_search(included, include)) {
            throw std::runtime_error("includes " + href + ", which includes another file itself");
        }
        out.append(copied, element[0].first);
        out += rootElement(included, href);
        copied = element[0].second;
    }
    out.append(copied, text.cend());
    return out;
}

RsvgHandle* openSvg(const fs::path& svg, GError** error) {
    const std::string text = svgWithIncludes(svg);
    GFile* base = g_file_new_for_path(svg.c_str());
    GInputStream* stream = g_memory_input_stream_new_from_data(text.data(), static_cast<gssize>(text.size()), nullptr);
    RsvgHandle* handle = rsvg_handle_new_from_stream_sync(stream, base, RSVG_HANDLE_FLAGS_NONE, nullptr, error);
    g_object_unref(stream);
    g_object_unref(base);
    return handle;
}

}  // namespace picture_renderer
