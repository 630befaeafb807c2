#pragma once
// One row of a picture manifest (assets/<folder>/manifest.txt), parsed and checked.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace picture_renderer {

enum class Format { Gif, Jpeg, Ico24, Ico16 };

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// crop=WxH+X+Y: the source is rendered at `canvas` and the row's size is cut out at (x, y).
struct Crop {
    Size canvas;
    int x = 0;
    int y = 0;
};

struct ManifestRow {
    std::filesystem::path manifest;
    int line = 0;
    std::string name;
    Format format = Format::Gif;
    std::vector<Size> sizes;  // one for gif and jpeg; every image of an icon, in the listed order
    bool transparent = false;
    std::filesystem::path source;  // absolute, or relative to the working directory
    std::optional<Crop> crop;
    std::optional<std::filesystem::path> paper;
    std::optional<Rgb> edge;
    std::string description;

    Size largest() const;
    std::filesystem::path folder() const { return manifest.parent_path(); }
};

// A fault in a manifest or in rendering one of its rows. what() is the complete one-line
// message "<manifest>:<line>: <row>: <problem>" (or "<manifest>: <problem>").
class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

ManifestError rowError(const ManifestRow& row, const std::string& problem);

// Every row of a manifest, in order; throws ManifestError at the first malformed row
// or a name used twice.
std::vector<ManifestRow> readManifest(const std::filesystem::path& manifest);

// The row called `name`; other rows are not checked. Throws if it is missing or malformed.
ManifestRow readManifestRow(const std::filesystem::path& manifest, const std::string& name);

const char* formatName(Format format);
const char* fileExtension(Format format);

}  // namespace picture_renderer
