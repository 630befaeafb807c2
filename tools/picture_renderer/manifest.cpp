#include "manifest.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>

namespace picture_renderer {
namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxIconSide = 256;

struct RawLine {
    int number = 0;
    std::vector<std::string> columns;
    std::string description;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string trimmed(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

// Columns are separated by blanks. A '#' that begins a column starts the comment, so the
// colour in "edge=#3a2a1e" is part of its column.
RawLine splitLine(int number, std::string_view text)
{
    RawLine raw;
    raw.number = number;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i == text.size())
            break;
        if (text[i] == '#') {
            raw.description = trimmed(text.substr(i + 1));
            break;
        }
        std::size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        raw.columns.emplace_back(text.substr(start, i - start));
    }
    return raw;
}

std::vector<RawLine> readLines(const std::filesystem::path& manifest)
{
    std::ifstream in(manifest, std::ios::binary);
    if (!in)
        throw ManifestError(manifest.string() + ": cannot open the manifest");
    std::vector<RawLine> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        RawLine raw = splitLine(number, text);
        if (!raw.columns.empty())
            lines.push_back(std::move(raw));
    }
    return lines;
}

std::optional<int> parseNumber(std::string_view text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "WxH"; both sides from 1 to kMaxSide.
std::optional<Size> parseSize(std::string_view text)
{
    std::size_t x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    auto w = parseNumber(text.substr(0, x));
    auto h = parseNumber(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > kMaxSide || *h > kMaxSide)
        return std::nullopt;
    return Size{*w, *h};
}

// "WxH+X+Y"
std::optional<Crop> parseCrop(std::string_view text)
{
    std::size_t plus = text.find('+');
    if (plus == std::string_view::npos)
        return std::nullopt;
    std::size_t plus2 = text.find('+', plus + 1);
    if (plus2 == std::string_view::npos)
        return std::nullopt;
    auto canvas = parseSize(text.substr(0, plus));
    auto x = parseNumber(text.substr(plus + 1, plus2 - plus - 1));
    auto y = parseNumber(text.substr(plus2 + 1));
    if (!canvas || !x || !y)
        return std::nullopt;
    return Crop{*canvas, *x, *y};
}

std::optional<Rgb> parseColour(std::string_view text)
{
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    auto byte = [&](std::size_t at) -> std::optional<std::uint8_t> {
        unsigned value = 0;
        auto [end, error] = std::from_chars(text.data() + at, text.data() + at + 2, value, 16);
        if (error != std::errc() || end != text.data() + at + 2)
            return std::nullopt;
        return static_cast<std::uint8_t>(value);
    };
    auto r = byte(1), g = byte(3), b = byte(5);
    if (!r || !g || !b)
        return std::nullopt;
    return Rgb{*r, *g, *b};
}

bool validName(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

std::string sizeText(Size size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

ManifestRow parseRow(const std::filesystem::path& manifest, const RawLine& raw)
{
    ManifestRow row;
    row.manifest = manifest;
    row.line = raw.number;
    row.name = raw.columns[0];
    row.description = raw.description;
    auto fail = [&](const std::string& problem) { return rowError(row, problem); };

    if (raw.columns.size() < 5) {
        throw fail("expected the columns name, format, size, ground and source, found " +
                   std::to_string(raw.columns.size()));
    }
    if (!validName(row.name)) {
        throw fail("the name may hold only lower-case letters, digits and '_'");
    }

    const std::string& format = raw.columns[1];
    if (format == "gif")
        row.format = Format::Gif;
    else if (format == "jpeg")
        row.format = Format::Jpeg;
    else if (format == "ico24")
        row.format = Format::Ico24;
    else if (format == "ico16")
        row.format = Format::Ico16;
    else
        throw fail("unknown format '" + format + "' (gif, jpeg, ico24 or ico16)");
    const bool icon = row.format == Format::Ico24 || row.format == Format::Ico16;

    std::string_view sizes = raw.columns[2];
    while (true) {
        std::size_t comma = sizes.find(',');
        std::string_view one = sizes.substr(0, comma);
        auto size = parseSize(one);
        if (!size)
            throw fail("size '" + std::string(one) + "' is not WxH");
        if (icon && (size->width > kMaxIconSide || size->height > kMaxIconSide)) {
            throw fail("icon image " + sizeText(*size) + " is larger than 256x256");
        }
        if (std::find(row.sizes.begin(), row.sizes.end(), *size) != row.sizes.end()) {
            throw fail("size " + sizeText(*size) + " is listed twice");
        }
        row.sizes.push_back(*size);
        if (comma == std::string_view::npos)
            break;
        sizes.remove_prefix(comma + 1);
    }
    if (!icon && row.sizes.size() > 1) {
        throw fail(std::string("a ") + format + " has one size, not " + std::to_string(row.sizes.size()));
    }

    const std::string& ground = raw.columns[3];
    if (ground == "transparent")
        row.transparent = true;
    else if (ground != "opaque")
        throw fail("ground '" + ground + "' is neither opaque nor transparent");
    if (row.transparent && row.format == Format::Jpeg) {
        throw fail("a jpeg cannot have a transparent ground");
    }

    row.source = manifest.parent_path() / raw.columns[4];

    std::map<std::string, bool> seen;
    for (std::size_t i = 5; i < raw.columns.size(); ++i) {
        const std::string& option = raw.columns[i];
        std::size_t eq = option.find('=');
        std::string key = option.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : option.substr(eq + 1);
        if (eq == std::string::npos || (key != "crop" && key != "paper" && key != "edge")) {
            throw fail("unknown option '" + option + "' (crop=, paper= or edge=)");
        }
        if (seen[key])
            throw fail("option " + key + "= is given twice");
        seen[key] = true;
        if (key == "crop") {
            auto crop = parseCrop(value);
            if (!crop)
                throw fail("crop '" + value + "' is not WxH+X+Y");
            row.crop = crop;
        } else if (key == "paper") {
            if (value.empty())
                throw fail("paper= names no file");
            row.paper = manifest.parent_path() / value;
        } else {
            auto colour = parseColour(value);
            if (!colour)
                throw fail("edge '" + value + "' is not #rrggbb");
            row.edge = colour;
        }
    }
    if (row.edge && !row.paper)
        throw fail("edge= needs paper=");
    if (row.crop) {
        if (row.sizes.size() != 1)
            throw fail("crop= needs a single size");
        const Crop& crop = *row.crop;
        const Size size = row.sizes[0];
        if (crop.x + size.width > crop.canvas.width || crop.y + size.height > crop.canvas.height) {
            throw fail("the " + sizeText(size) + " cut at (" + std::to_string(crop.x) + ", " + std::to_string(crop.y) +
                       ") reaches outside the " + sizeText(crop.canvas) + " render");
        }
    }
    return row;
}

}  // namespace

Size ManifestRow::largest() const
{
    Size best;
    for (Size size : sizes) {
        if (size.width * size.height > best.width * best.height)
            best = size;
    }
    return best;
}

ManifestError rowError(const ManifestRow& row, const std::string& problem)
{
    return ManifestError(row.manifest.string() + ":" + std::to_string(row.line) + ": " + row.name + ": " + problem);
}

std::vector<ManifestRow> readManifest(const std::filesystem::path& manifest)
{
    std::vector<ManifestRow> rows;
    std::map<std::string, int> firstLine;
    for (const RawLine& raw : readLines(manifest)) {
        ManifestRow row = parseRow(manifest, raw);
        auto [it, fresh] = firstLine.emplace(row.name, row.line);
        if (!fresh) {
            throw rowError(row, "the name is already used on line " + std::to_string(it->second));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

ManifestRow readManifestRow(const std::filesystem::path& manifest, const std::string& name)
{
    for (const RawLine& raw : readLines(manifest)) {
        if (raw.columns[0] == name)
            return parseRow(manifest, raw);
    }
    throw ManifestError(manifest.string() + ": no row named '" + name + "'");
}

const char* formatName(Format format)
{
    switch (format) {
    case Format::Gif: return "gif";
    case Format::Jpeg: return "jpeg";
    case Format::Ico24: return "ico24";
    case Format::Ico16: return "ico16";
    }
    return "?";
}

const char* fileExtension(Format format)
{
    switch (format) {
    case Format::Gif: return "gif";
    case Format::Jpeg: return "jpg";
    case Format::Ico24:
    case Format::Ico16: return "ico";
    }
    return "?";
}

}  // namespace picture_renderer
